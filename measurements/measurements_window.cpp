// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "measurements/measurements_window.h"

#include "measurements/fit_panel.h"
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
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <set>

#include "files/input_file.h"
#include "files/native_name.h"
#include "ui/spoken_name.h"

namespace veldorin {
namespace {

constexpr int kCalculatedColumn = kMeasurementColumnCount;
constexpr int kResidualColumn = kMeasurementColumnCount + 1;
const QColor kBadCell(255, 200, 200);

// A residual or χ² as the window shows it: in its format, or with an exponent where a
// residual would spell out hundreds of digits (a value typed absurdly large, an
// uncertainty absurdly small); "–" where it overflowed.
QString Shown(double value, char format, int precision) {
    if (!std::isfinite(value)) return QStringLiteral("–");
    if (format == 'f' && std::abs(value) >= 1e6) return QString::number(value, 'g', 3);
    return QString::number(value, format, precision);
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

MeasurementsWindow::MeasurementsWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool),
      table_(new QTableWidget(1, kMeasurementColumnCount + 2, this)),
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
    disconnect(table_, nullptr, this, nullptr);
}

void MeasurementsWindow::SetUpTable() {
    table_->setObjectName(QStringLiteral("measurementsTable"));
    table_->setAccessibleName(QStringLiteral("Measurements"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Field, MHz"), QStringLiteral("Quantity"),
                                       QStringLiteral("Value"), QStringLiteral("Uncertainty"),
                                       QStringLiteral("Calculated"),
                                       QStringLiteral("(calc − meas)/σ")});
    table_->horizontalHeaderItem(kCalculatedColumn)
        ->setToolTip(QStringLiteral("R1 and R2 in 1/s (a T1 or T2 as its rate); the NOE as "
                                    "the intensity ratio I_sat/I_ref = 1 + η"));
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    chiSquared_->setAccessibleName(QStringLiteral("χ² of the rows"));
    connect(table_, &QTableWidget::cellChanged, this, [this] {
        if (!showing_) CellEdited();
    });
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
    import->setToolTip(QStringLiteral(
        "A file with a header naming the columns field (or field_mhz), quantity, value and "
        "error, and maybe residue; comma-, tab- or blank-separated"));
    auto* remove = new QPushButton(QStringLiteral("Remove selected rows"), this);
    connect(import, &QPushButton::clicked, this, &MeasurementsWindow::ImportFile);
    connect(remove, &QPushButton::clicked, this, &MeasurementsWindow::RemoveSelectedRows);
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
    return fitting;
}

void MeasurementsWindow::ShowRows(const std::vector<MeasurementTexts>& rows,
                                  PairFrequencySigns signs, bool oppositeSignPair) {
    showing_ = true;
    oppositeSignPair_ = oppositeSignPair;
    pairFrequencies_->setCurrentIndex(static_cast<int>(signs));
    // One empty row at the end takes what is typed next.
    table_->setRowCount(static_cast<int>(rows.size()) + 1);
    for (int row = 0; row <= static_cast<int>(rows.size()); ++row) {
        const bool typed = row < static_cast<int>(rows.size());
        std::vector<CellProblem> problems;
        if (typed)
            problems = ReadMeasurement(rows[static_cast<std::size_t>(row)], row + 1).problems;
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            const QString text =
                typed ? QString::fromStdString(rows[static_cast<std::size_t>(row)].cells[column])
                      : QString();
            auto* item = new QTableWidgetItem(text);
            for (const CellProblem& problem : problems) {
                if (static_cast<int>(problem.column) != column) continue;
                item->setBackground(kBadCell);
                item->setToolTip(QString::fromStdString(Describe(problem)));
            }
            table_->setItem(row, column, item);
        }
        table_->setItem(row, kCalculatedColumn, ReadOnlyItem({}));
        table_->setItem(row, kResidualColumn, ReadOnlyItem({}));
    }
    showing_ = false;
    ShowNote();
}

void MeasurementsWindow::ShowComparisons(const Comparisons& comparisons) {
    showing_ = true;
    for (std::size_t row = 0; row < comparisons.rows.size(); ++row) {
        const auto& comparison = comparisons.rows[row];
        const int at = static_cast<int>(row);
        if (at >= table_->rowCount()) break;
        table_->item(at, kCalculatedColumn)
            ->setText(comparison ? QString::number(comparison->calculated, 'g', 6) : QString());
        table_->item(at, kResidualColumn)
            ->setText(comparison ? Shown(comparison->residual, 'f', 2) : QString());
    }
    chiSquared_->setText(comparisons.compared == 0 ? QStringLiteral("No row to compare.")
                                                   : QStringLiteral("χ² = %1 over %2 rows")
                                                         .arg(Shown(comparisons.chiSquared, 'g', 6))
                                                         .arg(comparisons.compared));
    showing_ = false;
}

void MeasurementsWindow::ShowSwitchedToSigned(bool shown) {
    switchedToSigned_ = shown;
    ShowNote();
}

void MeasurementsWindow::ShowNote() {
    const bool magnitudes = pairFrequencies_->currentIndex() == 0;
    if (switchedToSigned_ && !magnitudes) {
        note_->setText(QStringLiteral(
            "Pair frequencies switched to signed, as fits of measured rates use them."));
    } else if (magnitudes && oppositeSignPair_ && table_->rowCount() > 1) {
        note_->setText(
            QStringLiteral("Note: the spin system has a pair whose gyromagnetic "
                           "ratios have opposite signs, and magnitudes are in use: "
                           "its calculated NOE and R1 differ from those of signed "
                           "frequencies, which its transitions have."));
    } else {
        note_->clear();
    }
}

std::vector<MeasurementTexts> MeasurementsWindow::Rows() const {
    std::vector<MeasurementTexts> rows;
    for (int row = 0; row < table_->rowCount(); ++row) {
        MeasurementTexts texts;
        bool empty = true;
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            const QTableWidgetItem* item = table_->item(row, column);
            texts.cells[column] = item ? item->text().toStdString() : std::string();
            empty = empty && texts.cells[column].empty();
        }
        if (!empty) rows.push_back(texts);
    }
    return rows;
}

void MeasurementsWindow::CellEdited() { Q_EMIT rowsEdited(Rows()); }

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
    std::vector<MeasurementTexts> rows = Rows();
    rows.insert(rows.end(), import.rows.begin(), import.rows.end());
    if (!import.problems.empty()) {
        QStringList lines;
        for (const CellProblem& problem : import.problems) {
            lines << QString::fromStdString(Describe(problem));
        }
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
    std::set<int> selected;
    for (const QTableWidgetItem* item : table_->selectedItems()) selected.insert(item->row());
    std::vector<MeasurementTexts> kept;
    const std::vector<MeasurementTexts> rows = Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!selected.count(static_cast<int>(row))) kept.push_back(rows[row]);
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
