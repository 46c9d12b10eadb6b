// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/help_text.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <algorithm>

namespace veldorin {
namespace {

// Index of each title in the help text, in the order of kHelpTitles.
std::vector<int> TitleIndices(const QStringList& lines) {
    std::vector<int> indices;
    for (QLatin1StringView title : kHelpTitles) indices.push_back(HelpSectionIndex(lines, title));
    return indices;
}

// The text lines of a section: after its title and empty line, up to the empty lines that
// separate it from the next section.
QStringList SectionText(const QStringList& lines, QLatin1StringView title) {
    const auto indices = TitleIndices(lines);
    const auto at = std::find(kHelpTitles.begin(), kHelpTitles.end(), title);
    const auto position = static_cast<std::size_t>(at - kHelpTitles.begin());
    const int begin = indices[position] + 2;
    int end = position + 1 < indices.size() ? indices[position + 1] : int(lines.size());
    while (end > begin && lines[end - 1].isEmpty()) --end;
    return lines.mid(begin, end - begin);
}

TEST(HelpText, HasOneHundredNinetyLines) { EXPECT_EQ(HelpLines().size(), 190); }

TEST(HelpText, SectionsComeInOrderEachWithTitleEmptyLineAndText) {
    const QStringList lines = HelpLines();
    const auto indices = TitleIndices(lines);
    EXPECT_EQ(indices.front(), 0);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        SCOPED_TRACE(kHelpTitles[i].data());
        const int index = indices[i];
        ASSERT_GE(index, 0);
        ASSERT_LT(index + 2, lines.size());
        EXPECT_TRUE(lines[index + 1].isEmpty());
        EXPECT_FALSE(lines[index + 2].isEmpty());
        if (i > 0) {
            EXPECT_GT(index, indices[i - 1]);
            // One or two empty lines before the title, and text before those.
            EXPECT_TRUE(lines[index - 1].isEmpty());
            const bool oneEmpty = !lines[index - 2].isEmpty();
            const bool twoEmpty = lines[index - 2].isEmpty() && !lines[index - 3].isEmpty();
            EXPECT_TRUE(oneEmpty || twoEmpty);
        }
    }
    EXPECT_FALSE(lines.back().isEmpty());
}

TEST(HelpText, NoLineEndsInABlankOrOutrunsTheLongestQuotedLine) {
    for (const QString& line : HelpLines()) {
        EXPECT_FALSE(line.endsWith(u' ')) << qPrintable(line);
        EXPECT_LE(line.size(), 91) << qPrintable(line);
    }
}

TEST(HelpText, WordMarkLineLiesInsideTheIntroductionText) {
    const QStringList lines = HelpLines();
    EXPECT_GE(SectionText(lines, kHelpIntroduction).size(), 3);
    EXPECT_GE(kHelpWordMarkLine, HelpSectionIndex(lines, kHelpIntroduction) + 2);
    EXPECT_LT(kHelpWordMarkLine, HelpSectionIndex(lines, kHelpInstallation) - 1);
}

TEST(HelpText, InstallationStatesWhatTheProgramWritesAndWhere) {
    const QStringList text = SectionText(HelpLines(), kHelpInstallation);
    EXPECT_TRUE(text.contains(u"THIS PROGRAM DOES NOT CREATE OR CHANGE ANY SYSTEM FILES."));
    const qsizetype best = text.indexOf(
        u"The best way to learning of the program is \"click and see\" method. Move the mouse,");
    ASSERT_GE(best, 0);
    ASSERT_LT(best + 1, text.size());
    EXPECT_EQ(text[best + 1], u"click everywhere and look what will happen.");
    const QString joined = text.join(u' ');
    for (const char* fact : {"\"Lumen_Forge\"", "\"VELDORIN.ini\"", "Menu/Options",
                             "working directory", "table.dat"}) {
        EXPECT_TRUE(joined.contains(QLatin1StringView(fact))) << fact;
    }
}

TEST(HelpText, IntroductionNamesTheNucleiAndTheKindsOfSpins) {
    const QString joined = SectionText(HelpLines(), kHelpIntroduction).join(u' ');
    for (const char* word :
         {"1H", "13C", "15N", "\"like\"", "\"unlike\"", "Lorentzians", "methyl", "Theory"}) {
        EXPECT_TRUE(joined.contains(QLatin1StringView(word))) << word;
    }
}

// Each section a hover shows speaks of what its area of the window holds.
TEST(HelpText, EachAreaSectionNamesWhatItsAreaHolds) {
    const std::pair<QLatin1StringView, std::vector<const char*>> sections[] = {
        {kHelpSpinSystem, {"nucleus", "distances", "abundance", "Rex", "CSA", "\"like\""}},
        {kHelpLorentzians, {"Lorentzians", "ci", "ti", "ci/{ci}"}},
        {kHelpArray, {"array", "curves", "Rex", "CSA"}},
        {kHelpPlot, {"J(w)", "F(w)", "C(t)", "R1(w)", "NOE(w)", "pointer"}},
        {kHelpTable, {"NOE", "CRR", "R1", "R2", "color marks", "table.dat"}},
        {kHelpMotion, {"Ctrl+M", "model-free", "axially symmetric diffusion", "Lorentzian"}},
        {kHelpMeasurements, {"Ctrl+E", "1 + η", "uncertainty", "Import", "χ²"}},
        {kHelpPairFrequencies, {"magnitudes", "signed", "--fit"}},
        {kHelpFit, {"weighted least squares", "standard error", "(at its bound)"}},
        {kHelpModels, {"AIC", "AICc", "BIC", "eliminated", "Use selected model"}},
        {kHelpMonteCarlo, {"synthetic data sets", "percentiles", "seed", "Cancel"}},
    };
    for (const auto& [title, words] : sections) {
        const QString joined = SectionText(HelpLines(), title).join(u' ');
        for (const char* word : words) {
            EXPECT_TRUE(joined.contains(QString::fromUtf8(word))) << title.data() << ": " << word;
        }
    }
}

TEST(HelpSectionIndex, MatchesTheFirstWholeLineCaseSensitively) {
    const QStringList lines{"Plot options", "plot", "Plot ", "", "Plot", "", "Plot"};
    EXPECT_EQ(HelpSectionIndex(lines, QStringLiteral("Plot")), 4);
    EXPECT_EQ(HelpSectionIndex(lines, QStringLiteral("Table")), -1);
    EXPECT_EQ(HelpSectionIndex({}, QStringLiteral("Plot")), -1);
    EXPECT_EQ(HelpSectionIndex(lines, QString()), -1);
}

TEST(HelpTexts, NameNoAddressOrLink) {
    const QRegularExpression address(QStringLiteral(R"(@|https?:|www\.|\.(com|org|net)\b)"));
    for (const QString& line : HelpLines() + AboutLines()) {
        EXPECT_FALSE(address.match(line).hasMatch()) << qPrintable(line);
    }
}

TEST(AboutText, HasFourLinesWithTheRevisionNoteAndWhereCommentsGo) {
    const QStringList lines = AboutLines();
    ASSERT_EQ(lines.size(), 4);
    for (const QString& line : lines) EXPECT_FALSE(line.trimmed().isEmpty());
    const QString joined = lines.join(u' ');
    EXPECT_TRUE(joined.contains(u"\"like\" spins"));
    EXPECT_TRUE(joined.contains(u"issue tracker"));
}

}  // namespace
}  // namespace veldorin
