#include "DropDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "CardLook.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "QtFormLook.h"

namespace brenvik {

namespace {

const QStringList kHeaders{"File",  "Loop",      "Length",       "Tempo found",
                           "Beats", "Beats/Bar", "Tempo written"};
enum Column {
    FileColumn,
    LoopColumn,
    LengthColumn,
    FoundColumn,
    BeatsColumn,
    BarColumn,
    WrittenColumn,
    ColumnCount
};

QString foundText(const std::optional<tempo::TempoEstimate>& found) {
    if (!found) return QStringLiteral("-");
    return QString::fromStdString(message::aboutTempo(found->beatsPerMinute));
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QString minutesText(double seconds) {
    const long long tenths = std::llround(seconds * 10);
    return QStringLiteral("%1:%2.%3")
        .arg(tenths / 600)
        .arg(tenths % 600 / 10, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

DropDialog::DropDialog(std::vector<card::DroppedWave>& waves, QWidget* parent)
    : QDialog(parent), m_waves(waves), m_rows(waves.size()), m_grid(new QGridLayout) {
    setObjectName(QStringLiteral("dropDialog"));
    setWindowTitle(QStringLiteral("Dropped Files"));
    paintBackground(this, kCardBackground);
    for (int c = 0; c < ColumnCount; ++c) {
        QLabel* header = whiteLabel(QStringLiteral("header%1").arg(c), this);
        header->setText(kHeaders[c]);
        header->setFont(sansFont(8.25, true));
        m_grid->addWidget(header, 0, c);
    }
    for (int row = 0; row < static_cast<int>(waves.size()); ++row) addRow(row);

    auto* rows = new QWidget;
    paintBackground(rows, kCardBackground);
    rows->setLayout(m_grid);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* ok = greenButton(QStringLiteral("okButton"), QStringLiteral("OK"), this);
    auto* cancel = greenButton(QStringLiteral("cancelButton"), QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addLayout(buttons);
    resize(twipsSize(11400, std::min(8000, 1500 + 400 * static_cast<int>(waves.size()))));
    // The first choice to make has the focus; with none, OK.
    for (const RowWidgets& widgets : m_rows)
        if (widgets.beats) {
            widgets.beats->setFocus();
            return;
        }
    ok->setFocus();
}

void DropDialog::addRow(int row) {
    const card::DroppedWave& wave = m_waves[static_cast<size_t>(row)];
    const int line = row + 1;
    const auto cell = [&](int column, const QString& name, const QString& value) {
        QLabel* label = whiteLabel(name + QString::number(row), this);
        label->setText(value);
        m_grid->addWidget(label, line, column);
        return label;
    };
    cell(FileColumn, QStringLiteral("file"), text(loop::lastFolderName(wave.source)))
        ->setToolTip(text(wave.source));
    if (!wave.accepted()) {
        QLabel* why = whiteLabel(QStringLiteral("refused%1").arg(row), this);
        why->setText(text(wave.message + (wave.reason.empty() ? "" : " (" + wave.reason + ")")));
        why->setWordWrap(true);
        m_grid->addWidget(why, line, LoopColumn, 1, ColumnCount - LoopColumn);
        return;
    }
    RowWidgets& widgets = m_rows[static_cast<size_t>(row)];
    cell(LoopColumn, QStringLiteral("loop"), text(loop::loopFolderName(*wave.loopNumber)));
    cell(LengthColumn, QStringLiteral("length"), minutesText(wave.seconds()));
    widgets.found = cell(FoundColumn, QStringLiteral("found"), foundText(wave.tempoFound));
    // The writer takes 1 beat up to the beats the wave's tempo table holds.
    widgets.beats = new QSpinBox(this);
    widgets.beats->setObjectName(QStringLiteral("beats%1").arg(row));
    widgets.beats->setRange(1, std::max<int>(1, wave.opened.maxBeats));
    widgets.beats->setValue(wave.settings.beatCount);
    widgets.beats->setAccessibleName(QStringLiteral("Beats of ") +
                                     text(loop::lastFolderName(wave.source)));
    m_grid->addWidget(widgets.beats, line, BeatsColumn);
    widgets.bar = new QComboBox(this);
    widgets.bar->setObjectName(QStringLiteral("bar%1").arg(row));
    widgets.bar->setAccessibleName(QStringLiteral("Beats per bar of ") +
                                   text(loop::lastFolderName(wave.source)));
    m_grid->addWidget(widgets.bar, line, BarColumn);
    widgets.written = cell(WrittenColumn, QStringLiteral("written"), {});
    beatsChanged(row);
    connect(widgets.beats, &QSpinBox::valueChanged, this, [this, row] { beatsChanged(row); });
    connect(widgets.bar, &QComboBox::currentIndexChanged, this, [this, row] { barChanged(row); });
}

// Only bar lengths that divide the beats are offered, as the Card window's bars are counted; the
// one chosen stays while it still divides them.
void DropDialog::beatsChanged(int row) {
    card::DroppedWave& wave = m_waves[static_cast<size_t>(row)];
    RowWidgets& widgets = m_rows[static_cast<size_t>(row)];
    wave.settings.beatCount = widgets.beats->value();
    const BarChoices choices = barChoices(wave.settings.beatCount);
    const QSignalBlocker quiet(widgets.bar);
    widgets.bar->clear();
    for (int16_t length = 1; length <= kLongestBar; ++length)
        if (choices[static_cast<size_t>(length - 1)] > 0)
            widgets.bar->addItem(QString::number(length), length);
    const int kept = widgets.bar->findData(wave.settings.beatsPerBar);
    widgets.bar->setCurrentIndex(kept >= 0 ? kept : 0);
    barChanged(row);
}

void DropDialog::barChanged(int row) {
    card::DroppedWave& wave = m_waves[static_cast<size_t>(row)];
    wave.settings.beatsPerBar =
        static_cast<int16_t>(m_rows[static_cast<size_t>(row)].bar->currentData().toInt());
    wave.settings.division = divisionFor(wave.settings.beatsPerBar);
    showTempo(row);
}

void DropDialog::showTempo(int row) {
    const LoopPlan plan = card::planOf(m_waves[static_cast<size_t>(row)]);
    m_rows[static_cast<size_t>(row)].written->setText(
        plan.values ? text(message::tempoText(plan.tempoOnCard)) + QStringLiteral(" BPM")
                    : QStringLiteral("-"));
}

QSpinBox* DropDialog::beatsBox(int row) const {
    return m_rows.at(static_cast<size_t>(row)).beats;
}
QComboBox* DropDialog::barBox(int row) const {
    return m_rows.at(static_cast<size_t>(row)).bar;
}
QLabel* DropDialog::tempoWritten(int row) const {
    return m_rows.at(static_cast<size_t>(row)).written;
}
QLabel* DropDialog::tempoFound(int row) const {
    return m_rows.at(static_cast<size_t>(row)).found;
}

}  // namespace brenvik
