// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes everything the window shows for the example models and for random models, as
// text: the results list, "table.dat", the Lorentzian boxes, the array range, the failure
// line, the graph (its commands, image and curves as hashes), the pointer readouts and the
// tool windows. Two builds that show the same must write the same bytes, so a change to
// the window's insides is checked by comparing the files.
//
// Usage: veldorin_behaviour_dump OUT.txt [COUNT=20000] [SEED=1] [full]
// "full" prints the graph's commands and curves instead of their hashes. The random
// models do not depend on COUNT, so a run with COUNT = n + 1 shows model n in full.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <variant>

#include "graph/sampled_curves.h"
#include "graph_panel/graph_canvas.h"
#include "measurements/measurements_window.h"
#include "motion/motion_window.h"
#include "results/results_list.h"
#include "storage/model_file.h"
#include "tests/robustness/random_models.h"
#include "ui/design_palette.h"
#include "window/main_window.h"
#include "window/model_files.h"
#include "window/panel_controller.h"

namespace veldorin {
namespace {

std::string Number(double value, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// Tabs, line ends and backslashes written out, so that every shown text stays on its line.
std::string Escaped(const QString& text) {
    std::string escaped;
    for (const char c : text.toStdString()) {
        switch (c) {
            case '\\': escaped += "\\\\"; break;
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            case '\t': escaped += "\\t"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

// The name of one of a column of controls: "Text5(0)".
std::string Indexed(const char* name, int index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

std::string Sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string RgbText(const Rgb& colour) {
    return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue);
}

std::string F(float value) { return Number(value, 9); }

std::string CommandText(const DrawCommand& command) {
    struct Writer {
        std::string operator()(const draw::RetainOn&) const { return "RetainOn"; }
        std::string operator()(const draw::RetainOff&) const { return "RetainOff"; }
        std::string operator()(const draw::Refresh&) const { return "Refresh"; }
        std::string operator()(const draw::Clear&) const { return "Clear"; }
        std::string operator()(const draw::SetScale& c) const {
            return "SetScale " + F(c.width) + " " + F(c.height);
        }
        std::string operator()(const draw::SetLineWidth& c) const {
            return "SetLineWidth " + std::to_string(c.pixels);
        }
        std::string operator()(const draw::SetColour& c) const {
            return "SetColour " + RgbText(c.colour);
        }
        std::string operator()(const draw::Line& c) const {
            return "Line " + F(c.x1) + " " + F(c.y1) + " " + F(c.x2) + " " + F(c.y2);
        }
        std::string operator()(const draw::LineInColour& c) const {
            return "LineInColour " + F(c.x1) + " " + F(c.y1) + " " + F(c.x2) + " " + F(c.y2) + " " +
                   RgbText(c.colour);
        }
        std::string operator()(const draw::SetAxisCaption& c) const {
            return "SetAxisCaption " + Escaped(QString::fromStdString(c.text));
        }
    };
    return std::visit(Writer{}, command);
}

std::string PictureText(const PanelPicture& picture) {
    const PictureState& start = picture.recording.start();
    std::string text =
        "size " + Number(picture.size.width(), 17) + " " + Number(picture.size.height(), 17) +
        " default " + Number(picture.defaultScale.width(), 17) + " " +
        Number(picture.defaultScale.height(), 17) + " background " +
        picture.background.name(QColor::HexArgb).toStdString() + "\nstart " +
        Number(start.userScale.width(), 17) + " " + Number(start.userScale.height(), 17) + " " +
        std::to_string(start.lineWidth) + " " + std::to_string(start.foreground) + "\n";
    for (const DrawCommand& command : picture.recording.commands()) {
        text += CommandText(command) + "\n";
    }
    return text;
}

std::string CurvesText(const SampledCurves& curves) {
    std::string text = "mode " + std::to_string(static_cast<int>(curves.mode)) + " " +
                       curves.horizontalHeading + "\nhorizontal";
    for (const double value : curves.horizontal) text += " " + Number(value, 17);
    text += "\n";
    for (const SampledCurve& curve : curves.curves) {
        text += curve.Heading() + " [" + RgbText(curve.colour) + "]";
        for (const double value : curve.values) text += " " + Number(value, 17);
        text += "\n";
    }
    for (const PlottedMeasurement& point : curves.points) {
        text += "point " + std::to_string(static_cast<int>(point.quantity)) + " " +
                Number(point.fieldMHz, 17) + " " + Number(point.value, 17) + " " +
                Number(point.error, 17) + "\n";
    }
    return text;
}

// The image's pixels row by row, without the padding at the end of a row.
std::string ImageHash(const QImage& image) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const qsizetype rowBytes = (static_cast<qsizetype>(image.width()) * image.depth() + 7) / 8;
    for (int y = 0; y < image.height(); ++y) {
        hash.addData(
            QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes));
    }
    return std::to_string(image.width()) + "x" + std::to_string(image.height()) + " f" +
           std::to_string(static_cast<int>(image.format())) + " " +
           hash.result().toHex().toStdString();
}

// The random choices beside the model texts: graph options, motion, measurements, fit.
class RandomDocuments {
public:
    explicit RandomDocuments(unsigned seed) : texts_(seed), engine_(seed * 7919u + 17u) {}

    ModelDocument Next(int index, std::string& kind) {
        ModelDocument document = DefaultModelDocument();
        const bool plausible = index % 2 == 1;
        kind = plausible ? "plausible" : "damaged";
        document.texts = plausible ? texts_.NextPlausibleModel() : texts_.NextModel();
        if (!plausible) KeepMostNucleiOffered(document.texts);
        const GraphSettings settings = texts_.NextSettings();
        document.plotMode = settings.plotMode.value_or(static_cast<PlotMode>(Between(0, 4)));
        document.arrayOn = settings.arrayOn;
        document.arrayParameter =
            settings.arrayParameter.value_or(static_cast<ArrayParameter>(Between(0, 13)));
        if (Between(0, 1) == 0) {
            document.texts.tableMode = Between(0, 1) == 0 ? TableMode::Rates : TableMode::Times;
        }
        document.texts.pairFrequencies =
            Between(0, 2) == 0 ? PairFrequencySigns::Signed : PairFrequencySigns::Magnitudes;
        if (Between(0, 2) == 0) AddMotionAndMeasurements(document);
        return document;
    }

private:
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    double Uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine_);
    }
    std::string Text(double low, double high) { return Number(Uniform(low, high), Between(2, 9)); }
    std::string Pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + Between(0, static_cast<int>(choices.size()) - 1));
    }

    // A model file refuses a nucleus its slot's menu does not offer: most damaged models
    // get an offered one, so that they open and show their other damage.
    void KeepMostNucleiOffered(ModelTexts& texts) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            std::string& nucleus = texts.slots[static_cast<std::size_t>(slot)].nucleus;
            const std::vector<std::string_view> offered = OfferedNuclei(slot);
            if (std::ranges::find(offered, nucleus) != offered.end() || Between(0, 19) == 0) {
                continue;
            }
            nucleus = offered[static_cast<std::size_t>(Between(0, int(offered.size()) - 1))];
        }
    }

    std::string MotionValue(MotionParameter parameter) {
        switch (parameter) {
            case MotionParameter::TauM: return Text(1.0, 20.0);
            case MotionParameter::S2: return Text(0.3, 1.0);
            case MotionParameter::TauE: return Between(0, 4) == 0 ? "0" : Text(5.0, 300.0);
            case MotionParameter::S2Fast: return Text(0.5, 1.0);
            case MotionParameter::S2Slow: return Text(0.3, 1.0);
            case MotionParameter::TauS: return Text(0.2, 5.0);
            case MotionParameter::TauF: return Between(0, 2) == 0 ? "0" : Text(1.0, 100.0);
            case MotionParameter::DParallel: return Text(1.0, 10.0);
            case MotionParameter::DPerpendicular: return Text(0.5, 5.0);
            case MotionParameter::DiffusionRatio: return Text(0.5, 3.0);
            case MotionParameter::Theta: return Text(0.0, 180.0);
        }
        return "1";
    }

    MotionTexts RandomMotion() {
        MotionTexts motion = DefaultMotionTexts(static_cast<MotionKind>(Between(0, 4)));
        for (const MotionParameter parameter : ParametersOf(motion.kind)) {
            motion[parameter] = Between(0, 11) == 0 ? Pick({"", "abc", "-1", "2", "1e999", "0"})
                                                    : MotionValue(parameter);
        }
        return motion;
    }

    std::string MeasuredValue(const std::string& quantity) {
        if (quantity == "R1") return Text(0.5, 3.0);
        if (quantity == "R2") return Text(4.0, 30.0);
        if (quantity == "NOE") return Text(0.4, 0.95);
        if (quantity == "T1") return Text(0.3, 2.0);
        if (quantity == "T2") return Text(0.03, 0.25);
        return Text(0.1, 10.0);
    }

    MeasurementTexts RandomRow() {
        MeasurementTexts row;
        const bool bad = Between(0, 7) == 0;
        const std::string quantity = bad ? Pick({"R1", "R2", "NOE", "T1", "T2", "r1 ", "X", ""})
                                         : Pick({"R1", "R2", "NOE", "T1", "T2"});
        row[MeasurementColumn::Field] = Between(0, 5) > 0
                                            ? Pick({"400", "500", "600", "700", "800", "900"})
                                            : Pick({"123.4", "1000", "950.5", "60"});
        row[MeasurementColumn::Quantity] = quantity;
        row[MeasurementColumn::Value] = MeasuredValue(quantity);
        row[MeasurementColumn::Error] = Text(0.005, 0.1);
        if (bad) {
            const auto column = static_cast<MeasurementColumn>(Between(0, 3));
            row[column] = Pick({"", "abc", "-1", "0", "1e999", "20000", "nan"});
        }
        return row;
    }

    FitSetup RandomFit(MotionKind kind) {
        FitSetup fit;
        for (const MotionParameter parameter : ParametersOf(kind)) {
            if (Between(0, 2) == 0) fit.choice.free.push_back(parameter);
        }
        fit.choice.rex = Between(0, 3) == 0;
        fit.choice.csa = Between(0, 5) == 0;
        fit.live = Between(0, 3) == 0;
        return fit;
    }

    void AddMotionAndMeasurements(ModelDocument& document) {
        const MotionTexts motion = RandomMotion();
        document.motion = motion;
        // Half of the motions are the ones the Lorentzian boxes hold, as after an edit of
        // the motion; the others were edited by hand since.
        const MotionReading reading = ReadMotion(motion);
        if (reading.motion && Between(0, 1) == 0) {
            const LorentzianTexts texts = TextsOf(ToLorentzians(*reading.motion));
            document.texts.weights = texts.weights;
            document.texts.times = texts.times;
        }
        if (Between(0, 4) > 0) {
            const int rows = Between(1, 12);
            for (int row = 0; row < rows; ++row) document.measurements.push_back(RandomRow());
        }
        if (Between(0, 3) > 0) document.fit = RandomFit(motion.kind);
    }

    test::RandomModels texts_;
    std::mt19937 engine_;
};

// Reads what the window and its tool windows show, widget by widget.
class WindowReader {
public:
    WindowReader(MainWindow& window, QString tablePath, bool full)
        : window_(window), tablePath_(std::move(tablePath)), full_(full) {}

    std::string Read(bool measurementsOpen, bool motionOpen) {
        out_.clear();
        ReadTitle();
        ReadInputs();
        ReadResults();
        ReadTableFile();
        ReadLorentzians();
        ReadArray();
        ReadGraph();
        ReadReadouts();
        if (measurementsOpen) ReadToolWindow("measurements", window_.measurementsWindow());
        if (motionOpen) ReadToolWindow("motion", window_.motionWindow());
        return out_;
    }

private:
    template <class W>
    W* Find(const char* name) const {
        return window_.findChild<W*>(QString::fromLatin1(name));
    }
    void Line(const std::string& key, const std::string& value) {
        out_ += key + ": " + value + "\n";
    }
    void Text(const char* name) {
        const QWidget* widget = Find<QWidget>(name);
        std::string value = "missing";
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            value = Escaped(label->text());
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            value = Escaped(edit->text());
        } else if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
            value = std::to_string(list->currentIndex()) + " " + Escaped(list->currentText());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            value = Escaped(button->text());
        }
        if (widget) {
            value += widget->isVisibleTo(&window_) ? "" : " [hidden]";
            value += widget->isEnabled() ? "" : " [disabled]";
        }
        Line(name, value);
    }

    void ReadTitle() {
        Line("title", Escaped(window_.windowTitle()));
        Line("modified", window_.isWindowModified() ? "yes" : "no");
    }

    void ReadInputs() {
        for (int row = 0; row < kLorentzianCount; ++row) {
            Text(Indexed("Text7", row).c_str());
            Text(Indexed("Text8", row).c_str());
        }
        for (const char* name :
             {"Combo1(1)", "Combo1(2)", "Command1", "Command3", "Combo2", "Combo4", "Label3(14)"}) {
            Text(name);
        }
    }

    void ReadResults() {
        const auto* list = Find<ResultsList>("List3");
        if (!list) return Line("results", "missing");
        Line("results", std::to_string(list->count()) + " rows" + (list->stale() ? " stale" : "") +
                            (list->isEnabled() ? "" : " disabled"));
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* item = list->item(row);
            out_ += "| " + Escaped(item->text()) + "\n";
            if (!item->toolTip().isEmpty()) out_ += "|? " + Escaped(item->toolTip()) + "\n";
        }
        Text("RunStatus");
    }

    void ReadTableFile() {
        QFile file(tablePath_);
        if (!file.open(QIODevice::ReadOnly)) return Line("table.dat", "none");
        const QByteArray bytes = file.readAll();
        Line("table.dat", std::to_string(bytes.size()) + " bytes");
        for (const QByteArray& line : bytes.split('\n')) {
            out_ += "> " + Escaped(QString::fromUtf8(line)) + "\n";
        }
    }

    void ReadLorentzians() {
        for (int row = 0; row < kLorentzianCount; ++row) Text(Indexed("Text5", row).c_str());
    }

    void ReadArray() {
        for (const char* name : {"Label3(6)", "Text4(1)", "Text4(0)"}) Text(name);
    }

    void Serialised(const std::string& key, const std::string& text, std::size_t count) {
        if (full_) {
            Line(key, std::to_string(count));
            out_ += text;
        } else {
            Line(key, std::to_string(count) + " " + Sha256(QByteArray::fromStdString(text)));
        }
    }

    void ReadGraph() {
        const GraphCanvas& canvas = *window_.controls().graphCanvas;
        const PanelPicture picture = canvas.picture();
        Serialised("picture", PictureText(picture), picture.recording.commands().size());
        Line("image", ImageHash(canvas.image()));
        const SampledCurves& curves = canvas.curves();
        Serialised("curves", CurvesText(curves), curves.curves.size());
        Line("csv", Sha256(QByteArray::fromStdString(CurvesCsv(curves))));
    }

    void ReadReadouts() {
        const QSizeF size = window_.controls().graphCanvas->size();
        const QPointF places[] = {{0.1, 0.1},  {0.5, 0.5},   {0.9, 0.9},
                                  {0.25, 0.8}, {0.75, 0.25}, {0.02, 0.98}};
        for (const QPointF& place : places) {
            window_.panels().GraphHovered(
                QPointF(place.x() * size.width(), place.y() * size.height()));
            Line("readout", Escaped(Find<QLabel>("Label3(1)")->text()) + " | " +
                                Escaped(Find<QLabel>("Label3(2)")->text()));
        }
    }

    static std::string State(const QWidget& widget) {
        return widget.isEnabled() ? "" : " [disabled]";
    }

    void ReadTable(const QTableView& table) {
        const QAbstractItemModel& model = *table.model();
        out_ += "  table " + std::to_string(model.rowCount()) + "x" +
                std::to_string(model.columnCount()) + "\n";
        for (int column = 0; column < model.columnCount(); ++column) {
            out_ += "  head " + Escaped(model.headerData(column, Qt::Horizontal).toString()) + "\n";
        }
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                const QModelIndex cell = model.index(row, column);
                const QBrush background = cell.data(Qt::BackgroundRole).value<QBrush>();
                out_ += "  cell " + std::to_string(row) + "," + std::to_string(column) + " " +
                        Escaped(cell.data().toString()) + " bg " +
                        std::to_string(static_cast<int>(background.style())) + " " +
                        background.color().name().toStdString() + " editable " +
                        std::to_string(model.flags(cell).testFlag(Qt::ItemIsEditable)) + " tip " +
                        Escaped(cell.data(Qt::ToolTipRole).toString()) + "\n";
            }
        }
    }

    void ReadTree(const QTreeWidget& tree) {
        out_ += "  tree " + std::to_string(tree.topLevelItemCount()) + "\n";
        for (int row = 0; row < tree.topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = tree.topLevelItem(row);
            out_ += "  item";
            for (int column = 0; column < item->columnCount(); ++column) {
                out_ += " | " + Escaped(item->text(column));
            }
            out_ += "\n";
        }
    }

    // Every widget shown in the tool window, in the order they were made.
    void ReadToolWindow(const std::string& name, const QWidget& root) {
        out_ += "[" + name + " window" + (root.isVisible() ? "" : " hidden") + "]\n";
        for (const QWidget* widget : root.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&root)) continue;
            const std::string kind = widget->metaObject()->className();
            const std::string head = "  " + kind + " " + widget->objectName().toStdString() + ": ";
            if (const auto* table = qobject_cast<const QTableView*>(widget)) {
                ReadTable(*table);
            } else if (const auto* tree = qobject_cast<const QTreeWidget*>(widget)) {
                ReadTree(*tree);
            } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
                out_ += head + Escaped(label->text()) + "\n";
            } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
                out_ += head + Escaped(edit->text()) + State(*edit) + "\n";
            } else if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
                out_ += head + std::to_string(list->currentIndex()) + " " +
                        Escaped(list->currentText()) + State(*list) + "\n";
            } else if (qobject_cast<const QCheckBox*>(widget) ||
                       qobject_cast<const QPushButton*>(widget) ||
                       qobject_cast<const QRadioButton*>(widget)) {
                const auto* button = static_cast<const QAbstractButton*>(widget);
                out_ += head + Escaped(button->text()) +
                        (button->isCheckable() ? (button->isChecked() ? " [x]" : " [ ]") : "") +
                        State(*button) + "\n";
            } else if (const auto* spin = qobject_cast<const QSpinBox*>(widget)) {
                out_ += head + std::to_string(spin->value()) + State(*spin) + "\n";
            } else if (const auto* bar = qobject_cast<const QProgressBar*>(widget)) {
                out_ += head + std::to_string(bar->value()) + "/" + std::to_string(bar->maximum()) +
                        "\n";
            } else if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) {
                out_ += head + Escaped(tabs->tabText(tabs->currentIndex())) + "\n";
            }
        }
    }

    MainWindow& window_;
    QString tablePath_;
    bool full_;
    std::string out_;
};

class Dumper {
public:
    Dumper(const QString& programDirectory, const QString& modelDirectory, bool full)
        : modelDirectory_(modelDirectory),
          reader_(window_, programDirectory + "/Lumen_Forge/table.dat", full) {
        window_.Start({programDirectory, {}});
    }

    // Opens the model file and writes what the window shows; the tool windows are opened
    // when the model has what they show, and closed again after.
    std::string OpenAndRead(const QString& path, bool measurements, bool motion) {
        std::string text;
        if (const std::optional<QString> error = window_.modelFiles().Open(path)) {
            text +=
                "open error: " + Escaped(QString(*error).replace(modelDirectory_, "DIR")) + "\n";
        }
        if (measurements) window_.OpenMeasurementsWindow();
        if (motion) window_.OpenMotionWindow();
        text += reader_.Read(measurements, motion);
        window_.measurementsWindow().close();
        window_.motionWindow().close();
        QCoreApplication::processEvents();
        return text;
    }

private:
    QString modelDirectory_;
    MainWindow window_;
    WindowReader reader_;
};

int Run(const char* outPath, int count, unsigned seed, bool full) {
    std::ofstream out(outPath, std::ios::binary);
    if (!out) {
        std::cerr << "cannot write " << outPath << "\n";
        return 1;
    }
    QTemporaryDir programDirectory;
    QTemporaryDir modelDirectory;
    if (!programDirectory.isValid() || !modelDirectory.isValid()) {
        std::cerr << "no temporary folder\n";
        return 1;
    }
    Dumper dumper(programDirectory.path(), modelDirectory.path(), full);

    const char* examples[] = {"docs/default.veldorin", "docs/examples/amide-15N.veldorin",
                              "docs/examples/amide-model-free.veldorin"};
    for (const char* example : examples) {
        out << "== example " << example << "\n"
            << dumper.OpenAndRead(QStringLiteral(VELDORIN_SOURCE_DIR "/") + example, true, true);
    }

    RandomDocuments documents(seed);
    for (int index = 0; index < count; ++index) {
        std::string kind;
        const ModelDocument document = documents.Next(index, kind);
        const QString path =
            modelDirectory.filePath(QStringLiteral("model-%1.veldorin").arg(index));
        out << "== model " << index << " " << kind << "\n";
        if (const std::optional<QString> error = WriteModelFile(path, document)) {
            out << "write error: " << Escaped(QString(*error).replace(modelDirectory.path(), "DIR"))
                << "\n";
        }
        out << dumper.OpenAndRead(path, !document.measurements.empty(),
                                  document.motion.has_value());
        QFile::remove(path);
    }
    return out.good() ? 0 : 1;
}

}  // namespace
}  // namespace veldorin

namespace {

// The offscreen platform says at every tool window that it cannot raise it or pass size
// hints on; everything else is let through.
void DropPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    std::cerr << qPrintable(qFormatLogMessage(type, {}, message)) << "\n";
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 5) {
        std::cerr << "usage: veldorin_behaviour_dump OUT.txt [COUNT=20000] [SEED=1] [full]\n";
        return 2;
    }
    qInstallMessageHandler(DropPlatformNotes);
    QApplication application(argc, argv);
    // As the program itself starts, so that the window looks and draws the same.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(veldorin::DesignPalette());
    const int count = argc > 2 ? std::stoi(argv[2]) : 20000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::stoul(argv[3])) : 1u;
    const bool full = argc > 4 && std::string(argv[4]) == "full";
    return veldorin::Run(argv[1], count, seed, full);
}
