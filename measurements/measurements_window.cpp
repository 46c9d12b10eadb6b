// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/measurements_window.h"

#include "measurements/fit_panel.h"
#include "measurements/measurement_rows_model.h"
#include "measurements/model_ranking_panel.h"
#include "measurements/monte_carlo_panel.h"
#include "measurements/residue_choice.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>
#include <iterator>

#include "files/input_file.h"
#include "files/native_name.h"
#include "ui/spoken_name.h"

namespace veldorin {
namespace {

// The bad cells an import lists by name; the others are only counted, so that a file of
// many bad rows still gives a message that fits the screen.
constexpr int kListedProblems = 20;
// The rows whose texts the columns' widths are fitted to, from the first in view.
constexpr int kRowsSized = 50;

// A residual or χ² as the window shows it: in its format, or with an exponent where it
// would spell out hundreds of digits; "–" where it overflowed.
QString Shown(double value, char format, int precision) {
    if (!std::isfinite(value)) return QStringLiteral("–");
    if (format == 'f' && std::abs(value) >= 1e6) return QString::number(value, 'g', 3);
    return QString::number(value, format, precision);
}

// A bad cell of an import, numbered as the table numbers its row once the import's rows
// follow the `before` rows already there, and by its line in the text.
QString ImportProblem(const CellProblem& problem, std::size_t before) {
    const QString row =
        QStringLiteral("row %1").arg(before + static_cast<std::size_t>(problem.row));
    return (problem.line > 0 ? row + QStringLiteral(" (line %1)").arg(problem.line) : row) +
           QStringLiteral(", %1: %2")
               .arg(QLatin1String(NameOf(problem.column)), QString::fromStdString(problem.reason));
}

QString ChiSquaredText(const Comparisons& comparisons) {
    QString text = comparisons.compared == 0 ? QStringLiteral("No row to compare")
                                             : QStringLiteral("χ² = %1 over %2 rows")
                                                   .arg(Shown(comparisons.chiSquared, 'g', 6))
                                                   .arg(comparisons.compared);
    if (comparisons.leftOut > 0) {
        text +=
            QStringLiteral("; %1 left out, marked in the table")
                .arg(comparisons.leftOut == 1 ? QStringLiteral("1 row")
                                              : QStringLiteral("%1 rows").arg(comparisons.leftOut));
    }
    return comparisons.compared == 0 ? text + QLatin1Char('.') : text;
}

// The rows' table is one control of the window among the others: Tab and Shift+Tab go on
// to the next or previous control, from a cell being edited too once its edit is kept.
// The arrow keys move between cells; F2 or typing edits one.
class RowsView final : public QTableView {
public:
    explicit RowsView(QWidget* parent) : QTableView(parent) { setTabKeyNavigation(false); }

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override {
        const bool next = hint == QAbstractItemDelegate::EditNextItem;
        if (!next && hint != QAbstractItemDelegate::EditPreviousItem) {
            QTableView::closeEditor(editor, hint);
            return;
        }
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        focusNextPrevChild(next);
    }
};

}  // namespace

MeasurementsWindow::MeasurementsWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool),
      rows_(new MeasurementRowsModel(this)),
      table_(new RowsView(this)),
      chiSquared_(new QLabel(this)),
      pairFrequencies_(new QComboBox(this)),
      note_(new QLabel(this)),
      fitPanel_(new FitPanel(this)),
      rankingPanel_(new ModelRankingPanel(this)),
      monteCarloPanel_(new MonteCarloPanel(this)) {
    setWindowTitle(QStringLiteral("Measurements"));
    setObjectName(QStringLiteral("measurementsWindow"));
    SetUpTable();
    SetUpPairFrequencies();
    LayOut();
    resize(660, 680);
}

MeasurementsWindow::~MeasurementsWindow() {
    // A cell still being edited commits as the window goes: no edit of a window half gone.
    disconnect(rows_, nullptr, this, nullptr);
}

void MeasurementsWindow::SetUpTable() {
    table_->setObjectName(QStringLiteral("measurementsTable"));
    table_->setAccessibleName(QStringLiteral("Measurements"));
    table_->setModel(rows_);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The columns fit the rows in view and a few more, not a thousand rows at every change.
    table_->horizontalHeader()->setResizeContentsPrecision(kRowsSized);
    chiSquared_->setAccessibleName(QStringLiteral("χ² of the rows"));
    connect(rows_, &MeasurementRowsModel::cellEdited, this,
            [this] { Q_EMIT rowsEdited(rows_->Rows()); });
}

void MeasurementsWindow::SetUpPairFrequencies() {
    pairFrequencies_->setObjectName(QStringLiteral("pairFrequencies"));
    SetSpokenName(*pairFrequencies_, QStringLiteral("Pair frequencies"));
    pairFrequencies_->addItems(
        {QStringLiteral("Pair frequencies: magnitudes, |ωI| ± |ωS| (as the table always had)"),
         QStringLiteral("Pair frequencies: signed, as the transitions of the pair have them")});
    pairFrequencies_->setToolTip(QStringLiteral(
        "For a pair whose gyromagnetic ratios have opposite signs (15N with 1H), signed "
        "frequencies put the zero-quantum density at |ωH| + |ωN| and the double-quantum one at "
        "|ωH| − |ωN|; magnitudes the other way round. For 15N the NOE changes by 11 to 16 %."));
    note_->setWordWrap(true);
    note_->setAccessibleName(QStringLiteral("Note on the pair frequencies"));
    note_->setStyleSheet(QStringLiteral("color: #a05000"));
    connect(pairFrequencies_, &QComboBox::activated, this, [this](int index) {
        switchedToSigned_ = false;  // a choice of one's own needs no word
        Q_EMIT pairFrequenciesChosen(static_cast<PairFrequencySigns>(index));
    });
}

void MeasurementsWindow::LayOut() {
    auto* explanation = new QLabel(
        QStringLiteral("Quantities: R1, R2 (1/s), T1, T2 (s), NOE as the intensity ratio "
                       "I_sat/I_ref = 1 + η; the results table's NOE column is η."),
        this);
    explanation->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(table_, 1);  // the rows take the room the window gains
    layout->addWidget(chiSquared_);
    layout->addLayout(RowButtons());
    layout->addWidget(pairFrequencies_);
    layout->addWidget(note_);
    layout->addWidget(FittingTabs());
}

QHBoxLayout* MeasurementsWindow::RowButtons() {
    auto* import = new QPushButton(QStringLiteral("Import…"), this);
    import->setObjectName(QStringLiteral("importButton"));
    import->setToolTip(QStringLiteral(
        "A file with a header naming the columns field (or field_mhz), quantity, value and "
        "error, and maybe residue; comma-, tab- or blank-separated"));
    auto* remove = new QPushButton(QStringLiteral("Remove selected rows"), this);
    connect(import, &QPushButton::clicked, this, &MeasurementsWindow::ImportFile);
    connect(remove, &QPushButton::clicked, this, &MeasurementsWindow::RemoveSelectedRows);
    // The keyboard goes from the table to the controls as they are seen under it.
    setTabOrder(table_, import);
    setTabOrder(import, remove);
    setTabOrder(remove, pairFrequencies_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(import);
    buttons->addWidget(remove);
    buttons->addStretch();
    return buttons;
}

QTabWidget* MeasurementsWindow::FittingTabs() {
    auto* fitting = new QTabWidget(this);
    fitting->addTab(fitPanel_, QStringLiteral("Fit"));
    fitting->addTab(rankingPanel_, QStringLiteral("Models m0–m9"));
    fitting->addTab(monteCarloPanel_, QStringLiteral("Monte Carlo errors"));
    setTabOrder(pairFrequencies_, fitting);
    return fitting;
}

void MeasurementsWindow::ShowRows(const std::vector<MeasurementTexts>& rows,
                                  PairFrequencySigns signs, bool oppositeSignPair) {
    oppositeSignPair_ = oppositeSignPair;
    pairFrequencies_->setCurrentIndex(static_cast<int>(signs));
    rows_->ShowRows(rows);
    ShowNote();
}

void MeasurementsWindow::ShowComparisons(const Comparisons& comparisons) {
    rows_->ShowComparisons(comparisons);
    ShowSpokenText(*chiSquared_, ChiSquaredText(comparisons));
}

void MeasurementsWindow::ShowSwitchedToSigned(bool shown) {
    switchedToSigned_ = shown;
    ShowNote();
}

void MeasurementsWindow::ShowNote() {
    const bool magnitudes = pairFrequencies_->currentIndex() == 0;
    if (switchedToSigned_ && !magnitudes) {
        ShowSpokenText(*note_, QStringLiteral("Pair frequencies switched to signed, as fits of "
                                              "measured rates use them."));
    } else if (magnitudes && oppositeSignPair_ && rows_->rowCount() > 1) {
        ShowSpokenText(*note_, QStringLiteral("Note: the spin system has a pair whose gyromagnetic "
                                              "ratios have opposite signs, and magnitudes are in "
                                              "use: its calculated NOE and R1 differ from those of "
                                              "signed frequencies, which its transitions have."));
    } else {
        ShowSpokenText(*note_, {});
    }
}

void MeasurementsWindow::Append(const QString& text, char separator) {
    MeasurementImport import =
        ParseMeasurements(text.toStdString(), separator,
                          separator == ',' ? HeaderRule::Required : HeaderRule::Optional);
    if (import.error) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(*import.error));
        return;
    }
    if (const std::vector<ResidueRows> residues = ResiduesOf(import); residues.size() > 1) {
        const std::optional<std::string> chosen = ChooseResidue(this, residues);
        if (!chosen) return;
        import = RowsOfResidue(import, *chosen);
    }
    std::vector<MeasurementTexts> rows = rows_->Rows();
    const std::size_t before = rows.size();
    rows.insert(rows.end(), std::make_move_iterator(import.rows.begin()),
                std::make_move_iterator(import.rows.end()));
    if (!import.problems.empty()) {
        QStringList lines;
        for (const CellProblem& problem : import.problems) {
            if (lines.size() == kListedProblems) break;
            lines << ImportProblem(problem, before);
        }
        const auto unlisted = static_cast<qsizetype>(import.problems.size()) - lines.size();
        if (unlisted > 0) lines << QStringLiteral("and %1 more").arg(unlisted);
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Every row was kept; these cells are marked:\n") +
                                 lines.join(QLatin1Char('\n')));
    }
    Q_EMIT rowsEdited(rows);
}

void MeasurementsWindow::ImportFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Import measurements"), QString(),
        QStringLiteral("Measurements (*.csv *.tsv *.txt *.dat);;All files (*)"));
    if (!path.isEmpty()) ImportPath(path);
}

void MeasurementsWindow::ImportPath(const QString& path) {
    const QByteArray name = NativeName(path);
    const InputFileRead read = ReadInputFile(std::string(name.constData(), name.size()));
    if (!read.bytes) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("%1 cannot be imported: %2.")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(read.reason)));
        return;
    }
    Import(QString::fromStdString(*read.bytes));
}

void MeasurementsWindow::Import(const QString& text) {
    Append(text, SeparatorOf(text.toStdString()));
}

void MeasurementsWindow::RemoveSelectedRows() {
    std::vector<bool> selected(static_cast<std::size_t>(rows_->rowCount()));
    for (const QItemSelectionRange& range : table_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            selected[static_cast<std::size_t>(row)] = true;
        }
    }
    std::vector<MeasurementTexts> kept;
    const std::vector<MeasurementTexts> rows = rows_->Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!selected[row]) kept.push_back(rows[row]);
    }
    Q_EMIT rowsEdited(kept);
}

void MeasurementsWindow::keyPressEvent(QKeyEvent* event) {
    // Rows copied from a spreadsheet arrive tab-separated.
    if (event->matches(QKeySequence::Paste)) {
        Append(QApplication::clipboard()->text(), '\t');
        return;
    }
    QWidget::keyPressEvent(event);
}

void MeasurementsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Q_EMIT closed();
}

}  // namespace veldorin
