#include "display/files_panel_qt.h"

#include "shell/text_qt.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace r470 {

namespace {
constexpr int kRowTop = 6, kRowStep = 15;
constexpr int kButtonWidth = 100, kButtonHeight = 28, kButtonStep = 27, kStripWidth = 7;
constexpr int kLabelHeight = 14;

const char* const kLeftCaptions[] = {"LFilename", "LMemFN2",  "LGain",   "LMode",     "LRange",
                                     "LPulse",    "LMachine", "LFilter", "LImpedance"};
const char* const kLeftValues[] = {"SFilename", "SMemFN2",  "SGain",   "SMode",     "SRange",
                                   "SPulse",    "SMachine", "SFilter", "SImpedance"};
const char* const kRightCaptions[] = {"LDate", "LTime", "LCable", "LComments"};
const char* const kRightValues[] = {"SDate",      "STime",      "SCable",     "SComments1",
                                    "SComments2", "SComments3", "SComments4", "SComments5"};
} // namespace

FilesPanel::FilesPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Files");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto add = [this](const char* name, int x, int row, int width) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setGeometry(x, kRowTop + row * kRowStep, width, kLabelHeight);
        l->setTextFormat(Qt::PlainText);
        labels_[name] = l;
    };
    for (int r = 0; r < 9; ++r) {
        add(kLeftCaptions[r], 6, r, 64);
        add(kLeftValues[r], 72, r, 92);
    }
    for (int r = 0; r < 4; ++r)
        add(kRightCaptions[r], 165, r, 56);
    for (int r = 0; r < 8; ++r)
        add(kRightValues[r], 222, r, 300);
    // The cable type the dielectric was chosen from, under the comments.
    add("LCableType", 165, 8, 56);
    add("SCableType", 222, 8, 300);
    for (int n = 1; n <= 5; ++n) {
        auto* strip = new QFrame(this);
        strip->setObjectName(QString("TrLin%1").arg(n));
        strip->setAutoFillBackground(true);
        strip->resize(kStripWidth, kButtonHeight);
        auto* b = new QPushButton(this);
        b->setObjectName(QString("TrSel%1").arg(n));
        b->resize(kButtonWidth, kButtonHeight);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, n] {
            if (onTraceButton)
                onTraceButton(n);
        });
        buttons_[static_cast<std::size_t>(n - 1)] = b;
        strips_[static_cast<std::size_t>(n - 1)] = strip;
    }
    LayoutButtons();
}

QLabel* FilesPanel::Label(const std::string& name) const {
    auto it = labels_.find(name);
    return it == labels_.end() ? nullptr : it->second;
}

void FilesPanel::SetLabel(const std::string& name, const std::string& text, Colour colour) {
    QLabel* l = Label(name);
    if (!l)
        return;
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(colour.r, colour.g, colour.b));
    l->setPalette(pal);
    texts_[name] = text;
    QString full = ToQ(text);
    // A full path rarely fits its column: keep its end, where the file name is, in view.
    QString shown = l->fontMetrics().elidedText(full, Qt::ElideLeft, l->width());
    l->setText(shown);
    l->setToolTip(shown == full ? QString() : full);
}

void FilesPanel::SetLabelVisible(const std::string& name, bool visible) {
    if (QLabel* l = Label(name))
        l->setVisible(visible);
}

void FilesPanel::ClearLabels() {
    for (auto& [name, l] : labels_)
        l->clear();
    texts_.clear();
}

std::string FilesPanel::ShownLabelText(const std::string& name) const {
    QLabel* l = Label(name);
    auto it = texts_.find(name);
    // isHidden, not isVisible: a panel not on screen yet still shows its labels.
    return !l || l->isHidden() || it == texts_.end() ? std::string() : it->second;
}

void FilesPanel::SetTraceButton(int slot, const std::string& caption, Colour strip) {
    // An "&" in a file name is a character of the name, not an accelerator.
    TraceButton(slot)->setText(ToQ(caption).replace("&", "&&"));
    QPalette pal = Strip(slot)->palette();
    pal.setColor(QPalette::Window, QColor(strip.r, strip.g, strip.b));
    Strip(slot)->setPalette(pal);
}

void FilesPanel::ClearTraceButton(int slot) {
    TraceButton(slot)->setText("");
    Strip(slot)->setPalette(palette());
}

void FilesPanel::LayoutButtons() {
    for (int n = 1; n <= 5; ++n) {
        int left = width() - kButtonWidth;
        TraceButton(n)->move(left, 3 + (n - 1) * kButtonStep);
        Strip(n)->move(left - kStripWidth, 3 + (n - 1) * kButtonStep);
    }
}

void FilesPanel::mousePressEvent(QMouseEvent* e) {
    QFrame::mousePressEvent(e);
    if (onBareClick)
        onBareClick();
}

} // namespace r470
