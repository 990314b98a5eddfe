// The ".WAV to Repeater" window as it is laid out: positions in twips, colours and fonts.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolBar>
#include <tuple>
#include <vector>

#include "DoubleClickLabel.h"
#include "QtFormLook.h"
#include "QtTypingLimit.h"
#include "TempoScrollBar.h"
#include "Wav2RepArt.h"
#include "Wav2RepWidgets.h"

namespace brenvik {
namespace {

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
        return box;
    }

    QScrollBar* bar(QScrollBar* bar, const QString& name, QRect twips) {
        // The change handling runs once a drag ends (or at once for arrows and page clicks).
        bar->setTracking(false);
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
    QRadioButton* option(QGroupBox* frame, int index, int left) {
        auto* option = put(new QRadioButton(frame), QStringLiteral("Option%1").arg(index),
                           QRect(left, 120, 735, 255));
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

void layOutLoopInfo(Builder& b, QWidget* window, Wav2RepWidgets& w) {
    const QFont rowFont = sansFont(9.75, true);
    const QColor rowText = systemWindowColour();
    w.Label1 = b.label(QStringLiteral("Label1"), QStringLiteral("Loop Info"), {0, 600, 5775, 495},
                       kSilver, sansFont(12, true), Qt::black);
    const char* rows[] = {"File:", "Loop:", "Tempo:", "Bars:", "Beats:", "Division:"};
    for (int i = 0; i < 6; ++i)
        w.Label2[static_cast<size_t>(i)] =
            b.label(QStringLiteral("Label2_%1").arg(i), QString::fromLatin1(rows[i]),
                    {0, 1080 + 240 * i, 1215, 255}, kGrey, rowFont, rowText);
    w.LoopFile = b.label(QStringLiteral("LoopFile"), QString(), {1200, 1080, 4575, 255}, kGrey,
                         fixedFont(9.75), Qt::white);
    w.browseLoop = b.pictureButton(QStringLiteral("browseLoop"), {1200, 1320, 360, 255},
                                   wav2repart::loopFolderPicture(),
                                   QStringLiteral("Choose Save To Loop"));
    w.loopName = b.box(QStringLiteral("loopName"), {1560, 1320, 3255, 285});
    w.Text2 = b.box(QStringLiteral("Text2"), {4800, 1320, 615, 285});
    w.loopNumber = b.box(QStringLiteral("loopNumber"), {5400, 1320, 375, 285}, false);
    limitTyping(w.loopNumber, 3);
    QPalette yellow = w.loopNumber->palette();
    yellow.setColor(QPalette::Base, kLightYellow);
    w.loopNumber->setPalette(yellow);
    for (int k = 1; k <= 4; ++k) {
        QLineEdit* box = b.box(QStringLiteral("Text1_%1").arg(k), {1200, 1320 + 240 * k, 4215, 285});
        paintText(box, kBoxText);
        w.Text1[static_cast<size_t>(k)] = box;
    }
    w.tempoCntrl = static_cast<TempoScrollBar*>(
        b.bar(new TempoScrollBar(window), QStringLiteral("tempoCntrl"), {5400, 1560, 375, 615}));
    w.ScrollBeats = b.pictureButton(QStringLiteral("ScrollBeats"), {5400, 2160, 375, 375},
                                    wav2repart::beatsPicture(),
                                    QStringLiteral("Scroll through beats and divisions"));
    w.Label4 = b.label(QStringLiteral("Label4"), QString(), {0, 2520, 5775, 255}, kGrey, rowFont, rowText);
}

// One channel's block: header, strip, track options, the pitch and pan rows on their backing.
struct ChannelDesign {
    const char* prefix;  // "l" or "r"
    const char* header;
    const char* headerCaption;
    QColor headerColour, blockColour;
    int blockLeft, blockWidth;
    int rowLabelHeight;
    int controlsLeft, displayLeft;
    const char* frame;
    int firstOption;
    std::array<int, 4> optionLefts;
    const char* shape;
    int shapeLeft, shapeWidth;
    const char* pitch;
    const char* pan;
};

struct ChannelBlock {
    QLabel* header;
    QLabel* strip;
    QLabel* track;
    DoubleClickLabel* pitchLabel;
    DoubleClickLabel* panLabel;
    QGroupBox* frame;
    QFrame* shape;
    QScrollBar* pitch;
    QLineEdit* pitchDisplay;
    QScrollBar* pan;
    QLineEdit* panDisplay;

    auto asTuple() const {
        return std::tuple{header, strip, track, pitchLabel, panLabel, frame, shape, pitch,
                          pitchDisplay, pan, panDisplay};
    }
};

// A pitch or pan row: the label that resets the bar, the bar and its display box.
void layOutRow(Builder& b, QWidget* window, const ChannelDesign& d, const char* barName,
               const QString& caption, const QString& labelName, int top, DoubleClickLabel*& label,
               QScrollBar*& bar, QLineEdit*& display) {
    label = b.label<DoubleClickLabel>(labelName, caption, {d.blockLeft, top, 1215, d.rowLabelHeight},
                                      d.blockColour, sansFont(9.75, true), systemWindowColour());
    const QString name = QString::fromLatin1(barName);
    bar = b.bar(new QScrollBar(Qt::Horizontal, window), name, {d.controlsLeft, top, 3615, 255});
    display = b.box(name + QLatin1Char('2'), {d.displayLeft, top, 855, 285});
}

ChannelBlock layOutChannel(Builder& b, QWidget* window, const ChannelDesign& d, Wav2RepWidgets& w) {
    const QFont rowFont = sansFont(9.75, true);
    const QColor rowText = systemWindowColour();
    const QString p = QString::fromLatin1(d.prefix);
    ChannelBlock c{};
    c.header = b.label(QString::fromLatin1(d.header), QString::fromLatin1(d.headerCaption),
                       {d.blockLeft, 2760, d.blockWidth, 495}, d.headerColour, sansFont(12, true),
                       Qt::black);
    c.strip = b.label(p + QLatin1Char('4'), QString(), {d.blockLeft, 3240, d.blockWidth, 255},
                      d.blockColour, rowFont, rowText);
    c.track = b.label(p + QLatin1Char('1'), QStringLiteral("Track:"),
                      {d.blockLeft, 3480, d.blockWidth, 375}, d.blockColour, rowFont, rowText);
    c.frame = b.frame(QString::fromLatin1(d.frame), {d.controlsLeft, 3240, 4455, 495}, d.blockColour);
    for (int i = 0; i < 4; ++i)
        w.Option[static_cast<size_t>(d.firstOption + i)] =
            b.option(c.frame, d.firstOption + i, d.optionLefts[static_cast<size_t>(i)]);
    c.shape = b.shape(QString::fromLatin1(d.shape), {d.shapeLeft, 3840, d.shapeWidth, 735}, d.blockColour);
    layOutRow(b, window, d, d.pitch, QStringLiteral("Pitch:"), p + QLatin1Char('3'), 3840,
              c.pitchLabel, c.pitch, c.pitchDisplay);
    layOutRow(b, window, d, d.pan, QStringLiteral("Pan:"), p + QLatin1Char('2'), 4200, c.panLabel,
              c.pan, c.panDisplay);
    return c;
}

QToolBar* layOutToolbar(QWidget* window, Wav2RepWidgets& w) {
    auto* toolbar = new QToolBar(window);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(wav2repart::kToolImageSize);
    const QIcon images[] = {wav2repart::openWaveImage(), wav2repart::saveLoopImage(), QIcon(),
                            wav2repart::crossFadeImage()};
    for (int index = 1; index <= 4; ++index) {
        auto* button = new QAction(images[index - 1], QString(), toolbar);
        button->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(index));
        button->setSeparator(index == 3);
        toolbar->addAction(button);
        w.toolButton[static_cast<size_t>(index)] = button;
    }
    return toolbar;
}

}  // namespace

Wav2RepWidgets layOutWav2Rep(QWidget* window) {
    Wav2RepWidgets w;
    Builder b(window);
    w.Toolbar1 = layOutToolbar(window, w);
    layOutLoopInfo(b, window, w);

    const ChannelDesign left{"l", "LeftHeader", "Mono", kLeftHeader, kTeal, 0, 5775, 375, 1200,
                             4800, "leftFrame", 1, {240, 1280, 2320, 3360}, "Shape2", 1200, 4575,
                             "LeftPitch", "LeftPan"};
    std::tie(w.LeftHeader, w.l4, w.l1, w.l3, w.l2, w.leftFrame, w.Shape2, w.LeftPitch, w.LeftPitch2,
             w.LeftPan, w.LeftPan2) = layOutChannel(b, window, left, w).asTuple();

    const ChannelDesign right{"r", "RightHeader", "Right Channel", kRightHeader, kOlive, 5760, 5655,
                              255, 6960, 10560, "rightFrame", 5, {480, 1440, 2520, 3600},
                              "rightBlock1", 5760, 5655, "RightPitch", "RightPan"};
    std::tie(w.RightHeader, w.r4, w.r1, w.r3, w.r2, w.rightFrame, w.rightBlock1, w.RightPitch,
             w.RightPitch2, w.RightPan, w.RightPan2) = layOutChannel(b, window, right, w).asTuple();
    limitTyping(w.RightPan2, 6);

    b.stackLightControlsBeneath();
    return w;
}

}  // namespace brenvik
