// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/model_file.h"
#include "files/input_file.h"
#include "files/native_name.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "run_phases/run_phases.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

// Every value a document holds, in one list, so that two documents compare field by field.
std::vector<std::string> FieldsOf(const ModelDocument& document) {
    const ModelTexts& texts = document.texts;
    std::vector<std::string> fields;
    for (const SpinSlot& slot : texts.slots) {
        fields.insert(fields.end(), {slot.nucleus, slot.distance, slot.abundance});
    }
    fields.insert(fields.end(), texts.weights.begin(), texts.weights.end());
    fields.insert(fields.end(), texts.times.begin(), texts.times.end());
    fields.insert(fields.end(), {texts.csa, texts.rex, texts.workingDirectory,
                                 std::to_string(static_cast<int>(texts.tableMode)),
                                 std::to_string(static_cast<int>(document.plotMode)),
                                 std::to_string(document.arrayOn),
                                 std::to_string(static_cast<int>(document.arrayParameter)),
                                 std::to_string(static_cast<int>(texts.pairFrequencies))});
    if (document.motion) {
        fields.push_back(std::string(KeyOf(document.motion->kind)));
        for (const MotionParameter parameter : ParametersOf(document.motion->kind)) {
            fields.push_back((*document.motion)[parameter]);
        }
    }
    for (const MeasurementTexts& row : document.measurements) {
        fields.insert(fields.end(), row.cells.begin(), row.cells.end());
    }
    const FitSetup& fit = document.fit;
    for (const MotionParameter parameter : fit.choice.free) {
        fields.push_back(std::string(InfoOf(parameter).key));
    }
    fields.insert(fields.end(), {std::to_string(fit.choice.rex), std::to_string(fit.choice.csa),
                                 std::to_string(fit.live)});
    return fields;
}

std::vector<std::string> TableLinesOf(const ModelDocument& document) {
    test::RecordingSink sink;
    RunPhases().RunTable(document.texts, GraphSettings{}, sink);
    return sink.lines;
}

// A model whose every value differs from the default, with the texts a user can type
// that a file format easily mangles.
ModelDocument OddDocument() {
    ModelDocument document = DefaultModelDocument();
    document.texts.slots[0] = {"", "", ""};
    document.texts.slots[1] = {"Like", " 1.09 ", "1e999"};
    document.texts.slots[2] = {"1H", "\"quoted\" \\ back ¹³C ✓", "tab\there"};
    // As many characters as a file keeps, each beyond 16 bits.
    std::string longest;
    for (int i = 0; i < kMaxModelTextLength; ++i) longest += "😀";
    document.texts.slots[3] = {"15N", longest, "0.5"};
    document.texts.slots[kCentralSlot] = {"1H", "line\r\nbreak", "1"};
    document.texts.weights = {"0.1", "", "1e-45", "-0", "0,5", "x"};
    document.texts.times = {"1", "2", "3", "4", "5", "6"};
    document.texts.csa = "-170";
    document.texts.rex = "2.5";
    document.texts.tableMode = TableMode::Times;
    document.plotMode = PlotMode::Ct;
    document.arrayOn = true;
    document.arrayParameter = ArrayParameter::Rex;
    return document;
}

// The additions of format version 2, each on its own and all together.
std::vector<ModelDocument> Version2Documents() {
    ModelDocument withSigned = DefaultModelDocument();
    withSigned.texts.pairFrequencies = PairFrequencySigns::Signed;
    ModelDocument withMotion = DefaultModelDocument();
    withMotion.motion = MotionTexts{MotionKind::AxialDiffusionByTime, {}};
    withMotion.motion->texts = {"5", "0.85", "", "", "", "", "", "", "", "1.4", " 20,5 "};
    ModelDocument withRows = DefaultModelDocument();
    withRows.measurements = {MeasurementTexts{{"600", "R1", "1.5", "0.1"}},
                             MeasurementTexts{{"", "R3", "\"x\"", "😀"}}};
    ModelDocument withFit = DefaultModelDocument();
    withFit.fit = {{{}, false, true}, false};
    ModelDocument all = OddDocument();
    all.texts.pairFrequencies = PairFrequencySigns::Signed;
    all.motion = withMotion.motion;
    all.measurements = withRows.measurements;
    all.fit = {{{MotionParameter::TauM, MotionParameter::Theta}, true, false}, true};
    return {withSigned, withMotion, withRows, withFit, all};
}

ModelDocument WithChoices(PlotMode plotMode, ArrayParameter parameter) {
    ModelDocument document = DefaultModelDocument();
    document.plotMode = plotMode;
    document.arrayParameter = parameter;
    return document;
}

TEST(ModelFile, ReopensEveryValueAndTheSameTable) {
    std::vector<ModelDocument> documents = {DefaultModelDocument(), OddDocument()};
    const std::vector<ModelDocument> version2 = Version2Documents();
    documents.insert(documents.end(), version2.begin(), version2.end());
    for (int plot = 0; plot <= static_cast<int>(PlotMode::Noe); ++plot) {
        for (int parameter = 0; parameter <= static_cast<int>(ArrayParameter::Rex); ++parameter) {
            documents.push_back(WithChoices(*PlotModeAt(plot), *ArrayParameterAt(parameter)));
        }
    }
    const TempFolder folder;
    for (const ModelDocument& written : documents) {
        const QString path = folder.Path(QStringLiteral("model.veldorin"));
        ASSERT_EQ(WriteModelFile(path, written), std::nullopt);

        const ModelFileRead read = ReadModelFile(path);

        ASSERT_TRUE(read.document) << read.error.toStdString();
        EXPECT_EQ(FieldsOf(*read.document), FieldsOf(written));
        EXPECT_EQ(TableLinesOf(*read.document), TableLinesOf(written));
        EXPECT_EQ(ReadBytes(path), ToJson(written));
        EXPECT_TRUE(SameModel(*read.document, written));
        const bool isVersion2 = std::find_if(version2.begin(), version2.end(), [&](const auto& d) {
                                    return SameModel(d, written);
                                }) != version2.end();
        EXPECT_EQ(QJsonDocument::fromJson(ToJson(written))["version"].toInt(), isVersion2 ? 2 : 1);
    }
}

TEST(ModelFile, TheWorkingDirectoryIsNotPartOfTheModel) {
    ModelDocument document = DefaultModelDocument();
    document.texts.workingDirectory = "/home/someone/data/";
    EXPECT_EQ(ToJson(document), ToJson(DefaultModelDocument()));
}

TEST(ModelFile, TheShippedDefaultModelIsTheDefaultDocument) {
    EXPECT_EQ(ReadBytes(QStringLiteral(VELDORIN_DEFAULT_MODEL_FILE)),
              ToJson(DefaultModelDocument()));
}

// The shipped example's Lorentzians are its motion's, and its measurements lie near them.
TEST(ModelFile, TheModelFreeExampleAgreesWithItsMotion) {
    const ModelFileRead read = ReadModelFile(QStringLiteral(VELDORIN_MODEL_FREE_EXAMPLE));
    ASSERT_TRUE(read.document && read.document->motion) << read.error.toStdString();
    const ModelDocument& document = *read.document;
    const LorentzianTexts texts = TextsOf(ToLorentzians(*ReadMotion(*document.motion).motion));
    EXPECT_EQ(texts.weights, document.texts.weights);
    EXPECT_EQ(texts.times, document.texts.times);
    std::vector<std::optional<Measurement>> rows;
    for (std::size_t row = 0; row < document.measurements.size(); ++row) {
        rows.push_back(
            ReadMeasurement(document.measurements[row], static_cast<int>(row)).measurement);
        ASSERT_TRUE(rows.back()) << row;
    }
    const Comparisons comparisons =
        Compare(InputPreparation().Prepare(document.texts).values, rows);
    EXPECT_EQ(comparisons.compared, 9);
    EXPECT_LT(comparisons.chiSquared, 9.0 * 2.0);
}

QJsonObject DefaultJson() {
    return QJsonDocument::fromJson(ToJson(DefaultModelDocument())).object();
}

QByteArray Edited(const std::function<void(QJsonObject&)>& edit) {
    QJsonObject root = DefaultJson();
    edit(root);
    return QJsonDocument(root).toJson();
}

// Sets a key of one object inside a list of the model.
std::function<void(QJsonObject&)> SetInList(const char* list, int index, const char* key,
                                            const QJsonValue& value) {
    return [=](QJsonObject& root) {
        QJsonArray items = root[QLatin1String(list)].toArray();
        QJsonObject item = items[index].toObject();
        if (value.isUndefined()) {
            item.remove(QLatin1String(key));
        } else {
            item[QLatin1String(key)] = value;
        }
        items[index] = item;
        root[QLatin1String(list)] = items;
    };
}

std::function<void(QJsonObject&)> Set(const char* key, const QJsonValue& value) {
    return [=](QJsonObject& root) { root[QLatin1String(key)] = value; };
}

// A version 2 file (signed, a motion, one measurement) with one edit.
QByteArray Version2Edited(const std::function<void(QJsonObject&)>& edit) {
    QJsonObject root = QJsonDocument::fromJson(ToJson(Version2Documents().back())).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

TEST(ModelFile, IgnoresUnknownKeys) {
    const TempFolder folder;
    const QByteArray bytes = Edited([](QJsonObject& root) {
        Set("comment", QStringLiteral("from a later version"))(root);
        SetInList("spins", 0, "colour", QStringLiteral("red"))(root);
    });

    const ModelFileRead read = ReadModelFile(folder.MakeFile(QStringLiteral("m.veldorin"), bytes));

    ASSERT_TRUE(read.document) << read.error.toStdString();
    EXPECT_EQ(FieldsOf(*read.document), FieldsOf(DefaultModelDocument()));
}

struct BadFileRow {
    const char* name;
    std::function<QString(const TempFolder&)> make;  // returns the path to read
    const char* problem;                             // part of the error after the path
};

void PrintTo(const BadFileRow& row, std::ostream* out) { *out << row.name; }

std::function<QString(const TempFolder&)> FileOf(const QByteArray& bytes) {
    return [=](const TempFolder& folder) {
        return folder.MakeFile(QStringLiteral("bad model.veldorin"), bytes);
    };
}

class ReadingABadModelFile : public ::testing::TestWithParam<BadFileRow> {};

TEST_P(ReadingABadModelFile, SaysWhichFileAndWhatIsWrong) {
    const TempFolder folder;
    const QString path = GetParam().make(folder);

    const ModelFileRead read = ReadModelFile(path);

    EXPECT_FALSE(read.document);
    EXPECT_TRUE(read.error.startsWith(path + QStringLiteral(": "))) << read.error.toStdString();
    EXPECT_TRUE(read.error.contains(QString::fromUtf8(GetParam().problem)))
        << read.error.toStdString();
}

// A valid model followed by blanks, one byte beyond the limit; sparse, so nothing as
// large is written.
QString TooLargeModel(const TempFolder& folder) {
    const QString path = FileOf(ToJson(DefaultModelDocument()))(folder);
    QFile(path).resize(static_cast<qint64>(kMaxModelFileBytes) + 1);
    return path;
}

INSTANTIATE_TEST_SUITE_P(ModelFile, ReadingABadModelFile,
                         ::
                             testing::Values(BadFileRow{"missing",
                                                        [](const TempFolder& folder) {
                                                            return folder.Path("none.veldorin");
                                                        },
                                                        "no such file"},
                                             BadFileRow{"folder",
                                                        [](const TempFolder& folder) {
                                                            return folder.MakeDir("m.veldorin");
                                                        },
                                                        "a folder"},
                                             BadFileRow{"too_large", TooLargeModel,
                                                        "larger than the limit"},
                                             BadFileRow{"empty", FileOf(""), "not JSON"},
                                             BadFileRow{
                                                 "cut_short",
                                                 FileOf(ToJson(DefaultModelDocument()).left(100)),
                                                 "not JSON"},
                                             BadFileRow{
                                                 "invalid_utf8",
                                                 FileOf("{\"format\": \"veldorin-model\xff\"}"),
                                                 "not JSON"},
                                             BadFileRow{"json_list", FileOf("[]"),
                                                        "not a VELDORIN model"},
                                             BadFileRow{
                                                 "other_format",
                                                 FileOf(Edited(Set("format",
                                                                   QStringLiteral("other")))),
                                                 "not a VELDORIN model"},
                                             BadFileRow{"newer_version",
                                                        FileOf(Edited(Set("version", 3))),
                                                        "newer VELDORIN"},
                                             BadFileRow{"version_as_text",
                                                        FileOf(Edited(Set("version",
                                                                          QStringLiteral("1")))),
                                                        "\"version\" must be a whole number"},
                                             BadFileRow{"no_spins",
                                                        FileOf(Edited([](QJsonObject& root) {
                                                            root.remove("spins");
                                                        })),
                                                        "\"spins\" is missing"},
                                             BadFileRow{"eight_spins",
                                                        FileOf(Edited([](QJsonObject& root) {
                                                            QJsonArray spins =
                                                                root["spins"].toArray();
                                                            spins.removeLast();
                                                            root["spins"] = spins;
                                                        })),
                                                        "\"spins\" must be a list of 9"},
                                             BadFileRow{"number_for_text",
                                                        FileOf(Edited(SetInList("spins", 8,
                                                                                "nucleus", 13))),
                                                        "\"spins[8].nucleus\" must be a text"},
                                             BadFileRow{
                                                 "no_time",
                                                 FileOf(
                                                     Edited(
                                                         SetInList(
                                                             "lorentzians", 5, "time", QJsonValue::Undefined))),
                                                 "\"lorentzians[5].time\" is missing"},
                                             BadFileRow{
                                                 "text_too_long",
                                                 FileOf(Edited(
                                                     Set("csa", QString(kMaxModelTextLength + 1,
                                                                        QLatin1Char('1'))))),
                                                 "\"csa\" is longer than 1000"},
                                             BadFileRow{
                                                 "neighbour_nucleus_in_lower_case",
                                                 FileOf(Edited(SetInList("spins", 3,
                                                                         "nucleus", QStringLiteral("1h")))),
                                                 "\"spins[3].nucleus\" is \"1h\"; the nucleus of a "
                                                 "neighbour slot must be one "
                                                 "of \"\", \"Like\", \"1H\", \"13C\", \"15N\""},
                                             BadFileRow{"unknown_neighbour_nucleus",
                                                        FileOf(Edited(SetInList(
                                                            "spins",
                                                            0, "nucleus", QStringLiteral("XX")))),
                                                        "\"spins[0].nucleus\" is \"XX\""},
                                             BadFileRow{"central_nucleus_like",
                                                        FileOf(Edited(SetInList(
                                                            "spins",
                                                            8, "nucleus", QStringLiteral("Like")))),
                                                        "the nucleus of the central slot must be "
                                                        "one of "
                                                        "\"1H\", \"13C\", \"15N\""},
                                             BadFileRow{
                                                 "central_nucleus_empty",
                                                 FileOf(Edited(SetInList("spins", 8,
                                                                         "nucleus", QString()))),
                                                 "\"spins[8].nucleus\" is \"\""},
                                             BadFileRow{"symbolic_link_loop",
                                                        [](const TempFolder& folder) {
                                                            const QString path =
                                                                folder.Path("loop.veldorin");
                                                            QFile::link(path, path);
                                                            return path;
                                                        },
                                                        "a loop of symbolic links"},
                                             BadFileRow{"unknown_table",
                                                        FileOf(Edited(
                                                            Set("table", QStringLiteral("Rates")))),
                                                        "\"table\" must be one of"},
                                             BadFileRow{"unknown_plot",
                                                        FileOf(Edited(Set("plot", 2))),
                                                        "\"plot\" must be one of"},
                                             BadFileRow{
                                                 "array_on_as_text",
                                                 FileOf(Edited(Set("array",
                                                                   QJsonObject{{"on", "yes"}}))),
                                                 "\"array.on\" must be true or false"},
                                             BadFileRow{"version_2_without_its_keys",
                                                        FileOf(Edited(Set("version", 2))),
                                                        "\"pairFrequencies\" is missing"},
                                             BadFileRow{"unknown_pair_frequencies",
                                                        FileOf(Version2Edited(Set("pairFrequencies",
                                                                                  "absolute"))),
                                                        "\"pairFrequencies\" must be one of"},
                                             BadFileRow{"unknown_motion",
                                                        FileOf(Version2Edited(Set(
                                                            "motion",
                                                            QJsonObject{{"model", "rigid body"}}))),
                                                        "\"motion.model\" must be one of"},
                                             BadFileRow{
                                                 "motion_without_its_parameter",
                                                 FileOf(Version2Edited(Set(
                                                     "motion", QJsonObject{{"model", "rigid"}}))),
                                                 "\"motion.tauM\" is missing"},
                                             BadFileRow{"measurements_not_a_list",
                                                        FileOf(Version2Edited(Set("measurements",
                                                                                  QJsonObject{}))),
                                                        "\"measurements\" must be a list"},
                                             BadFileRow{
                                                 "measurement_value_a_number",
                                                 FileOf(Version2Edited(SetInList("measurements", 0,
                                                                                 "value", 1.5))),
                                                 "\"measurements[0].value\" must be a text"},
                                             BadFileRow{
                                                 "fit_frees_what_the_motion_lacks",
                                                 FileOf(Version2Edited(
                                                     Set("fit",
                                                         QJsonObject{{"free", QJsonArray{"tauS"}},
                                                                     {"rex", false},
                                                                     {"csa", false},
                                                                     {"live", true}}))),
                                                 "\"fit.free\" may list the motion's parameters"},
                                             BadFileRow{
                                                 "fit_live_as_text",
                                                 FileOf(Version2Edited(
                                                     Set("fit", QJsonObject{{"free", QJsonArray{}},
                                                                            {"rex", false},
                                                                            {"csa", false},
                                                                            {"live", "yes"}}))),
                                                 "\"fit.live\" must be true or false"},
                                             BadFileRow{
                                                 "no_array_parameter",
                                                 FileOf(Edited(Set("array",
                                                                   QJsonObject{{"on", true}}))),
                                                 "\"array.parameter\" is missing"}),
                         [](const ::testing::TestParamInfo<BadFileRow>& info) {
                             return info.param.name;
                         });

// What the window can save, it can open: a text longer than a file keeps is refused
// before anything is written, naming its box.
TEST(ModelFile, ASaveRefusesATextTooLongToOpenAgain) {
    const TempFolder folder;
    const QString path = folder.MakeFile(QStringLiteral("m.veldorin"), "old");
    ModelDocument document = DefaultModelDocument();
    document.texts.times[2] = "1." + std::string(kMaxModelTextLength, '0');

    const std::optional<QString> error = WriteModelFile(path, document);

    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("t3 (ps)"))) << error->toStdString();
    EXPECT_EQ(ReadBytes(path), "old");
}

// Reading and writing keep one limit: a protein's worth of measurements saves and
// opens again; a model beyond the limit (every cell at its longest, escaped) is refused
// before anything is written.
TEST(ModelFile, WhatASaveWritesOpensAgain) {
    const struct {
        int rows;
        std::string cell;
        bool saved;
    } rows[] = {{100000, "2.50", true}, {3000, std::string(kMaxModelTextLength, '\x01'), false}};
    const TempFolder folder;
    for (const auto& row : rows) {
        const QString path = folder.MakeFile(QStringLiteral("m.veldorin"), "old");
        ModelDocument document = DefaultModelDocument();
        document.measurements.assign(row.rows, {{row.cell, row.cell, row.cell, row.cell}});

        const std::optional<QString> error = WriteModelFile(path, document);

        const ModelFileRead read = ReadModelFile(path);
        EXPECT_EQ(read.document && read.document->measurements.size() == 100000u, row.saved);
        const std::string limit = SizeText(kMaxModelFileBytes);
        EXPECT_EQ(error.value_or("").contains(QString::fromStdString(limit)), !row.saved);
    }
}

// Names in another encoding than UTF-8 are opened and saved under their own bytes.
TEST(ModelFile, NamesThatAreNotUtf8AreReadAndWrittenUnderTheirOwnBytes) {
    const TempFolder folder;
    const QByteArray names[] = {"caf\xe9.veldorin",       "\xff\xfe",
                                "cut \xe2\x82.veldorin",  "overlong \xc0\xaf",
                                "surrogate \xed\xa0\x80", "ok \xc3\xa9"};
    for (const QByteArray& name : names) {
        const QByteArray bytes = QFile::encodeName(folder.Path()) + '/' + name;
        EXPECT_EQ(NativeName(NameFromNative(bytes)), bytes) << name.toStdString();

        ASSERT_EQ(WriteModelFile(NameFromNative(bytes), DefaultModelDocument()), std::nullopt);
        const int descriptor = ::open(bytes.constData(), O_RDONLY);
        EXPECT_GE(descriptor, 0) << name.toStdString() << ": saved under its bytes";
        ::close(descriptor);
        EXPECT_TRUE(ReadModelFile(NameFromNative(bytes)).document) << name.toStdString();
    }
}

TEST(ModelFile, AFailedSaveNamesTheFileAndKeepsTheFolderClean) {
    const TempFolder folder;
    const QString path = folder.Path(QStringLiteral("no folder/m.veldorin"));

    const std::optional<QString> error = WriteModelFile(path, DefaultModelDocument());

    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(path + QStringLiteral(": "))) << error->toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace veldorin
