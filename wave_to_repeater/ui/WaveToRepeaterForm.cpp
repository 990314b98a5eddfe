// The ".WAV to Repeater" window as it is laid out: positions in twips, colours and fonts.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolBar>
#include <vector>

#include "DoubleClickLabel.h"
#include "QtFormLook.h"
#include "QtTypingLimit.h"
#include "TempoScrollBar.h"
#include "WaveToRepeaterArt.h"
#include "WaveToRepeaterForm.h"

namespace brenvik {
namespace {

const QColor kMaroon(128, 0, 0);  // the window's background
const QColor kSilver(192, 192, 192);
const QColor kGrey(128, 128, 128);
const QColor kBoxText(64, 64, 64);
const QColor kLightYellow(255, 255, 128);
const QColor kTeal(0, 128, 128);
const QColor kOlive(128, 128, 0);
const QColor kLeftHeader(0, 192, 192);
const QColor kRightHeader(192, 192, 0);

// Labels and shapes are drawn beneath the boxes, bars and frames that overlap them, as the
// design stacks them; they are collected here and lowered once everything is built.
class Builder {
public:
    explicit Builder(QWidget* window) : m_window(window) {}

    template <class Label = QLabel>
    Label* label(const QString& name, const QString& caption, QRect twips, const QColor& back,
                 const QFont& font, const QColor& text) {
        auto* label = put(new Label(caption, m_window), name, twips);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(font);
        paintBackground(label, back);
        paintText(label, text);
        m_beneath.push_back(label);
        return label;
    }

    QFrame* shape(const QString& name, QRect twips, const QColor& fill) {
        auto* shape = put(new QFrame(m_window), name, twips);
        paintBackground(shape, fill);
        m_beneath.push_back(shape);
        return shape;
    }

    QLineEdit* box(const QString& name, QRect twips, bool readOnly = true) {
        auto* box = put(new QLineEdit(m_window), name, twips);
        box->setReadOnly(readOnly);
        // A box that only shows is no Tab stop; a click still selects its text to copy.
        if (readOnly) box->setFocusPolicy(Qt::ClickFocus);
        return box;
    }

    QScrollBar* bar(QScrollBar* bar, const QString& name, QRect twips) {
        // The change handling runs once a drag ends (or at once for arrows and page clicks).
        bar->setTracking(false);
        // Reached with Tab and moved with the arrow and page keys, like the mouse moves it.
        bar->setFocusPolicy(Qt::StrongFocus);
        return put(bar, name, twips);
    }

    QPushButton* pictureButton(const QString& name, QRect twips, const QIcon& picture,
                               const QString& toolTip) {
        auto* button = put(new QPushButton(picture, QString(), m_window), name, twips);
        button->setToolTip(toolTip);
        button->setAutoDefault(false);
        return button;
    }

    QGroupBox* frame(const QString& name, QRect twips, const QColor& back) {
        auto* frame = put(new QGroupBox(m_window), name, twips);
        paintBackground(frame, back);
        return frame;
    }

    // The two groups keep their selection in the window's model, which may clear an option by
    // itself; Qt must not enforce one selection per group on its own.
    QRadioButton* option(QGroupBox* frame, const QString& name, int left) {
        auto* option = put(new QRadioButton(frame), name, QRect(left, 120, 735, 255));
        option->setAutoExclusive(false);
        return option;
    }

    void stackLightControlsBeneath() {
        for (auto it = m_beneath.rbegin(); it != m_beneath.rend(); ++it) (*it)->lower();
    }

    // Names the control and places it at its design position (twips, in its owner).
    template <class Widget>
    static Widget* put(Widget* widget, const QString& name, QRect twips) {
        widget->setObjectName(name);
        placeTwips(widget, twips.x(), twips.y(), twips.width(), twips.height());
        return widget;
    }

private:
    QWidget* m_window;
    std::vector<QWidget*> m_beneath;
};

void layOutLoopInfo(Builder& b, QWidget* window, WaveToRepeaterForm& w) {
    const QFont rowFont = sansFont(9.75, true);
    const QColor rowText = systemWindowColour();
    b.label(QStringLiteral("loopInfoHeader"), QStringLiteral("Loop Info"), {0, 600, 5775, 495},
            kSilver, sansFont(12, true), Qt::black);
    const char* rows[] = {"File:", "Loop:", "Tempo:", "Bars:", "Beats:", "Division:"};
    const char* rowNames[] = {"fileLabel", "loopLabel", "tempoLabel", "barsLabel", "beatsLabel", "divisionLabel"};
    for (int i = 0; i < 6; ++i)
        b.label(QString::fromLatin1(rowNames[i]), QString::fromLatin1(rows[i]),
                {0, 1080 + 240 * i, 1215, 255}, kGrey, rowFont, rowText);
    w.wavePathLabel = b.label(QStringLiteral("wavePathLabel"), QString(), {1200, 1080, 4575, 255}, kGrey,
                              fixedFont(9.75), Qt::white);
    // An addition to the design, on the header's free right part just above the file line it
    // explains; hidden while there is nothing to explain.
    w.conversionLabel = b.label(QStringLiteral("conversionLabel"), QString(), {1800, 600, 3975, 495}, kSilver,
                                sansFont(8.25), Qt::black);
    w.conversionLabel->hide();
    w.destinationButton = b.pictureButton(QStringLiteral("destinationButton"), {1200, 1320, 360, 255},
                                          waveart::loopFolderPicture(),
                                          QStringLiteral("Choose Save To Loop"));
    w.destinationBox = b.box(QStringLiteral("destinationBox"), {1560, 1320, 3255, 285});
    w.loopPrefixBox = b.box(QStringLiteral("loopPrefixBox"), {4800, 1320, 615, 285});
    w.loopNumberBox = b.box(QStringLiteral("loopNumberBox"), {5400, 1320, 375, 285}, false);
    limitTyping(w.loopNumberBox, 3);
    QPalette yellow = w.loopNumberBox->palette();
    yellow.setColor(QPalette::Base, kLightYellow);
    w.loopNumberBox->setPalette(yellow);
    const char* boxNames[] = {"tempoBox", "barsBox", "beatsBox", "divisionBox"};
    QLineEdit** boxes[] = {&w.tempoBox, &w.barsBox, &w.beatsBox, &w.divisionBox};
    for (int k = 0; k < 4; ++k) {
        QLineEdit* box = b.box(QString::fromLatin1(boxNames[k]), {1200, 1560 + 240 * k, 4215, 285});
        paintText(box, kBoxText);
        *boxes[k] = box;
    }
    w.tempoBar = static_cast<TempoScrollBar*>(
        b.bar(new TempoScrollBar(window), QStringLiteral("tempoBar"), {5400, 1560, 375, 615}));
    w.beatsButton = b.pictureButton(QStringLiteral("beatsButton"), {5400, 2160, 375, 375},
                                    waveart::beatsPicture(),
                                    QStringLiteral("Scroll through beats and divisions"));
    b.label(QStringLiteral("loopInfoFooter"), QString(), {0, 2520, 5775, 255}, kGrey, rowFont, rowText);
    // On the free window background right of the tempo bar, level with the Tempo row.
    w.foundTempoLabel = b.label(QStringLiteral("foundTempoLabel"), QString(), {5880, 1560, 3000, 255}, kMaroon,
                                rowFont, Qt::white);
    w.foundTempoButton = Builder::put(new QPushButton(QStringLiteral("&Use Found Tempo"), window),
                                      QStringLiteral("foundTempoButton"), {5880, 1860, 2040, 375});
    w.foundTempoButton->setAutoDefault(false);
}

// One channel's block: header, strip, track options, the pitch and pan rows on their backing.
struct ChannelDesign {
    const char* prefix;  // "left" or "right"
    const char* headerCaption;
    QColor headerColour, blockColour;
    int blockLeft, blockWidth;
    int rowLabelHeight;
    int controlsLeft, displayLeft;
    std::array<int, 4> optionLefts;
    int backingLeft, backingWidth;
};

// A pitch or pan row: the label that resets the bar, the bar and its display box.
void layOutRow(Builder& b, QWidget* window, const ChannelDesign& d, const QString& role,
               const QString& caption, int top, DoubleClickLabel*& label, QScrollBar*& bar,
               QLineEdit*& display) {
    const QString name = QString::fromLatin1(d.prefix) + role;
    label = b.label<DoubleClickLabel>(name + QStringLiteral("Label"), caption,
                                      {d.blockLeft, top, 1215, d.rowLabelHeight}, d.blockColour,
                                      sansFont(9.75, true), systemWindowColour());
    bar = b.bar(new QScrollBar(Qt::Horizontal, window), name + QStringLiteral("Bar"),
                {d.controlsLeft, top, 3615, 255});
    // Qt turns a scroll bar's keys round for the sake of vertical ones; here the Right key raises
    // the value, moving the thumb the way the arrow points.
    bar->setInvertedControls(false);
    display = b.box(name + QStringLiteral("Box"), {d.displayLeft, top, 855, 285});
}

ChannelWidgets layOutChannel(Builder& b, QWidget* window, const ChannelDesign& d) {
    const QFont rowFont = sansFont(9.75, true);
    const QColor rowText = systemWindowColour();
    const QString p = QString::fromLatin1(d.prefix);
    ChannelWidgets c;
    c.header = b.label(p + QStringLiteral("Header"), QString::fromLatin1(d.headerCaption),
                       {d.blockLeft, 2760, d.blockWidth, 495}, d.headerColour, sansFont(12, true),
                       Qt::black);
    c.strip = b.label(p + QStringLiteral("Strip"), QString(), {d.blockLeft, 3240, d.blockWidth, 255},
                      d.blockColour, rowFont, rowText);
    c.trackLabel = b.label(p + QStringLiteral("TrackLabel"), QStringLiteral("Track:"),
                           {d.blockLeft, 3480, d.blockWidth, 375}, d.blockColour, rowFont, rowText);
    c.trackFrame = b.frame(p + QStringLiteral("TrackFrame"), {d.controlsLeft, 3240, 4455, 495}, d.blockColour);
    for (int i = 0; i < 4; ++i)
        c.trackOptions[static_cast<size_t>(i)] =
            b.option(c.trackFrame, p + QStringLiteral("Track%1").arg(i + 1), d.optionLefts[static_cast<size_t>(i)]);
    c.backing = b.shape(p + QStringLiteral("Backing"), {d.backingLeft, 3840, d.backingWidth, 735}, d.blockColour);
    layOutRow(b, window, d, QStringLiteral("Pitch"), QStringLiteral("Pitch:"), 3840, c.pitchLabel, c.pitchBar,
              c.pitchBox);
    layOutRow(b, window, d, QStringLiteral("Pan"), QStringLiteral("Pan:"), 4200, c.panLabel, c.panBar, c.panBox);
    return c;
}

QToolBar* layOutToolbar(QWidget* window, WaveToRepeaterForm& w) {
    auto* toolbar = new QToolBar(window);
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(waveart::kToolImageSize);
    paintSystemColours(toolbar);
    w.openButton = toolbar->addAction(waveart::openWaveImage(), QString());
    w.openButton->setObjectName(QStringLiteral("openButton"));
    w.openButton->setToolTip(QStringLiteral("Open Normal Wave File"));
    w.saveButton = toolbar->addAction(waveart::saveLoopImage(), QString());
    w.saveButton->setObjectName(QStringLiteral("saveButton"));
    w.saveButton->setToolTip(QStringLiteral("Save as Repeater Loop"));
    return toolbar;
}

}  // namespace

WaveToRepeaterForm buildWaveToRepeaterForm(QWidget* window) {
    WaveToRepeaterForm w;
    Builder b(window);
    w.toolbar = layOutToolbar(window, w);
    layOutLoopInfo(b, window, w);
    w.left = layOutChannel(b, window, {"left", "Mono", kLeftHeader, kTeal, 0, 5775, 375, 1200, 4800,
                                       {240, 1280, 2320, 3360}, 1200, 4575});
    w.right = layOutChannel(b, window, {"right", "Right Channel", kRightHeader, kOlive, 5760, 5655, 255,
                                        6960, 10560, {480, 1440, 2520, 3600}, 5760, 5655});
    limitTyping(w.right.panBox, 6);
    w.willWriteLine = b.label(QStringLiteral("willWriteLine"), QString(), {0, 4680, 11400, 495}, kGrey,
                              sansFont(8.25, true), systemWindowColour());
    w.willWriteLine->setWordWrap(true);
    w.willWriteLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    b.stackLightControlsBeneath();
    return w;
}

void showWillWrite(QLabel* line, const QString& text, bool warning) {
    line->setText(text);
    paintBackground(line, warning ? kLightYellow : kGrey);
    paintText(line, warning ? QColor(Qt::black) : systemWindowColour());
}

}  // namespace brenvik
