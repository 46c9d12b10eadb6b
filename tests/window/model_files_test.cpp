// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "spins/spin_diagram.h"
#include "spins/spin_editors.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

class ModelFilesInWindow : public WindowTest {
protected:
    ModelDocument Shown() const { return window_->document(); }
    QString PathOf(const char* name) const { return folder_.filePath(QLatin1String(name)); }

    QTemporaryDir folder_;
};

TEST_F(ModelFilesInWindow, ASavedModelReopensToTheSameWindowAndTable) {
    Started();
    SpinEditors& spins = window_->spinEditors();
    spins.OpenNucleusMenu(4);
    spins.ChooseNucleus(controls().nucleusMenu->findText(QStringLiteral("Like")));
    spins.EditDistance(4);
    controls().distanceEditor->setText(QStringLiteral("1.8"));
    spins.CommitDistance();
    Paste(controls().weightBoxes[4], QStringLiteral("0.5"));
    Paste(controls().timeBoxes[5], QStringLiteral("12e3"));
    Paste(controls().rexBox->lineEdit(), QStringLiteral("2.5"));
    controls().plotList->setCurrentIndex(static_cast<int>(PlotMode::Noe));
    window_->OnPlotChosen();
    window_->OnArrayClicked();
    window_->OnTableModeClicked();
    const ModelDocument saved = Shown();
    const QStringList table = ListLines();
    ASSERT_EQ(window_->modelFiles().SaveTo(PathOf("odd.veldorin")), std::nullopt);

    Started();  // a fresh window with the defaults
    ASSERT_NE(ListLines(), table);
    ASSERT_EQ(window_->modelFiles().Open(PathOf("odd.veldorin")), std::nullopt);

    EXPECT_EQ(ToJson(Shown()), ToJson(saved));
    EXPECT_EQ(ListLines(), table);
    EXPECT_EQ(TableFileBytes(), table.join("\r\n").toLatin1() + "\r\n");
    EXPECT_EQ(controls().tableModeButton->text(), "T-->R");
    EXPECT_TRUE(controls().arrayParameterList->isVisible());
    EXPECT_EQ(window_->controls().spinDiagram->nucleusBack(4), kCentralSpeciesBack);
}

// A model of format version 2 keeps its motion, measurements and pair frequencies
// through the window, and the table follows its pair frequencies.
TEST_F(ModelFilesInWindow, AModelWithAMotionAndMeasurementsSavesBackWhole) {
    Started();
    ModelDocument document = *ReadModelFile(VELDORIN_MODEL_FREE_EXAMPLE).document;
    document.texts.pairFrequencies = PairFrequencySigns::Signed;
    ASSERT_EQ(WriteModelFile(PathOf("v2.veldorin"), document), std::nullopt);

    ASSERT_EQ(window_->modelFiles().Open(PathOf("v2.veldorin")), std::nullopt);
    EXPECT_EQ(ListLines(), EngineTableOf(document.texts));
    ASSERT_EQ(window_->modelFiles().SaveTo(PathOf("again.veldorin")), std::nullopt);

    QFile before(PathOf("v2.veldorin"));
    QFile after(PathOf("again.veldorin"));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly) && after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before.readAll());
}

TEST_F(ModelFilesInWindow, AFileThatHoldsNoModelLeavesTheWindowAsItWas) {
    Started();
    QFile notJson(PathOf("broken.veldorin"));
    ASSERT_TRUE(notJson.open(QIODevice::WriteOnly));
    notJson.write("{ not json");
    notJson.close();
    const QByteArray before = ToJson(Shown());
    const QStringList table = ListLines();

    for (const char* name : {"broken.veldorin", "missing.veldorin"}) {
        const std::optional<QString> error = window_->modelFiles().Open(PathOf(name));
        ASSERT_TRUE(error.has_value()) << name;
        EXPECT_TRUE(error->contains(PathOf(name))) << error->toStdString();
        EXPECT_EQ(ToJson(Shown()), before) << name;
        EXPECT_EQ(ListLines(), table) << name;
    }
}

// Named in full or, from the command line, relative to the folder the program was
// started in, which is not the working directory it then enters.
TEST_F(ModelFilesInWindow, AModelNamedAtStartUpIsShownAfterTheDefaults) {
    ModelDocument times = DefaultModelDocument();
    times.texts.tableMode = TableMode::Times;
    times.texts.weights[4] = "0.5";
    ASSERT_EQ(WriteModelFile(PathOf("times.veldorin"), times), std::nullopt);
    const QString startFolder = QDir::currentPath();

    for (const QString& name : {PathOf("times.veldorin"), QStringLiteral("times.veldorin")}) {
        QDir::setCurrent(folder_.path());
        Constructed().Start({programDirectory(), {}}, name);
        QDir::setCurrent(startFolder);

        EXPECT_EQ(ToJson(Shown()), ToJson(times)) << name.toStdString();
        EXPECT_EQ(ListLines().front(), "f, MHz\tNOE\t1/CRR,s\tT1, s\tT2, s") << name.toStdString();
    }
}

// The title names the model's file and marks a change; letting a changed model go
// asks first, and the answer decides.
TEST_F(ModelFilesInWindow, AChangedModelFromAFileIsMarkedAndAskedAboutBeforeItGoes) {
    const struct {
        const char* name;
        QMessageBox::StandardButton answer;
        bool closes;
        bool fileHoldsTheChange;
    } rows[] = {
        {"save", QMessageBox::Save, true, true},
        {"discard", QMessageBox::Discard, true, false},
        {"cancel", QMessageBox::Cancel, false, false},
    };
    for (const auto& row : rows) {
        Started();
        const QString path = PathOf("m.veldorin");
        ASSERT_EQ(window_->modelFiles().SaveTo(path), std::nullopt);
        EXPECT_TRUE(window_->windowTitle().startsWith("m.veldorin[*] - VELDORIN")) << row.name;
        EXPECT_FALSE(window_->isWindowModified()) << row.name;
        auto* weight = controls().weightBoxes[0];
        Paste(weight, "0.5");
        window_->Recalculate();
        ASSERT_TRUE(window_->isWindowModified()) << row.name;

        ExpectDialogs(true);
        QString question;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << row.name;
            question = box->text();
            box->button(row.answer)->click();
        });
        EXPECT_EQ(window_->close(), row.closes) << row.name;
        ExpectDialogs(false);

        EXPECT_TRUE(question.contains("m.veldorin")) << row.name;
        const ModelFileRead stored = ReadModelFile(path);
        ASSERT_TRUE(stored.document) << row.name;
        EXPECT_EQ(stored.document->texts.weights[0] == "0.5", row.fileHoldsTheChange) << row.name;
        Paste(weight, QString::fromStdString(stored.document->texts.weights[0]));
        window_->Recalculate();
        EXPECT_FALSE(window_->isWindowModified()) << row.name << ": back as in the file";
    }
}

// The live fit of the run that shows an opened model is no edit: the model goes without a
// question, while an edit of the user's still marks it.
TEST_F(ModelFilesInWindow, TheLiveFitOfAnOpenedModelIsNoEdit) {
    for (const bool edited : {false, true}) {
        Started();
        ModelDocument live = *ReadModelFile(VELDORIN_MODEL_FREE_EXAMPLE).document;
        (*live.motion)[MotionParameter::TauM] = "4";
        live.fit = {{{MotionParameter::TauM}, false, false}, true};
        ASSERT_EQ(WriteModelFile(PathOf("live.veldorin"), live), std::nullopt);
        ASSERT_EQ(window_->modelFiles().Open(PathOf("live.veldorin")), std::nullopt);
        ASSERT_NE(Shown().motion, live.motion) << "the live fit moved τm";
        if (edited) window_->OnTableModeClicked();
        window_->Recalculate();
        EXPECT_EQ(window_->isWindowModified(), edited);
        EXPECT_TRUE(edited || window_->close()) << "no question asked";
    }
}

// Save to the file the model came from asks first when another program has replaced
// that file since; "No" keeps that program's file.
TEST_F(ModelFilesInWindow, SaveAsksBeforeOverwritingAFileAnotherProgramReplaced) {
    for (const bool replaced : {false, true}) {
        Started();
        const QString path = PathOf("m.veldorin");
        ASSERT_EQ(window_->modelFiles().SaveTo(path), std::nullopt);
        if (replaced) {
            QFile(PathOf("other")).open(QIODevice::WriteOnly);
            ASSERT_TRUE(QFile::remove(path) && QFile::rename(PathOf("other"), path));
        }
        // Without a question, an unexpected dialog fails the test.
        ExpectDialogs(replaced);
        bool asked = false;
        if (replaced) {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                asked = box->text().contains("m.veldorin");
                box->button(QMessageBox::No)->click();
            });
        }
        window_->modelFiles().Save();
        ExpectDialogs(false);

        EXPECT_EQ(asked, replaced);
        EXPECT_EQ(testing::ReadBytes(path).isEmpty(), replaced);
    }
}

}  // namespace
}  // namespace veldorin::test
