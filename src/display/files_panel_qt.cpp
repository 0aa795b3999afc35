#include "display/files_panel_qt.h"

#include "display/details_layout.h"
#include "shell/text_qt.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

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
constexpr int kEdgeMargin = 4; // between the texts and the colour strips
constexpr int kCommentsRow = 3;
constexpr int kLeastCommentRoom = 150; // the comments' block moves no further than this

// Lines no wider than room, broken after a path separator or a blank where one allows it.
QStringList WrapToWidth(const QString& text, int room, const QFontMetrics& fm) {
    auto isBreak = [](QChar c) { return c == '/' || c == '\\' || c == ' '; };
    QStringList lines;
    QString line;
    for (QChar c : text) {
        if (!line.isEmpty() && fm.horizontalAdvance(line + c) > room) {
            qsizetype cut = line.size();
            for (qsizetype i = line.size() - 1; i > 0; --i)
                if (isBreak(line[i - 1])) {
                    cut = i;
                    break;
                }
            lines << line.left(cut);
            line = line.mid(cut);
        }
        line += c;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}
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
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        labels_[name] = l;
    };
    for (int r = 0; r < kDetailsRows; ++r) {
        add(kLeftCaptions[r], 6, r, 64);
        add(kLeftValues[r], kDetailsValueX, r, 92);
    }
    for (int r = 0; r < 4; ++r)
        add(kRightCaptions[r], kDetailsSecondColumnX, r, 56);
    for (int r = 0; r < 8; ++r)
        add(kRightValues[r], kDetailsSecondColumnX + kDetailsSecondValueOffset, r, 300);
    // The cable type the dielectric was chosen from, under the comments.
    add("LCableType", kDetailsSecondColumnX, 8, 56);
    add("SCableType", kDetailsSecondColumnX + kDetailsSecondValueOffset, 8, 300);
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
    l->setText(ToQ(text));
    LayoutLabels();
}

void FilesPanel::SetLabelVisible(const std::string& name, bool visible) {
    if (QLabel* l = Label(name)) {
        l->setVisible(visible);
        LayoutLabels();
    }
}

void FilesPanel::ClearLabels() {
    for (auto& [name, l] : labels_)
        l->clear();
    texts_.clear();
    LayoutLabels();
}

bool FilesPanel::HasText(const std::string& name) const {
    QLabel* l = Label(name);
    auto it = texts_.find(name);
    return l && !l->isHidden() && it != texts_.end() && !it->second.empty();
}

int FilesPanel::TextWidth(const std::string& name) const {
    if (!HasText(name))
        return 0;
    // One pixel more than the advance, or the last pixel of an "A" is cut.
    return Label(name)->fontMetrics().horizontalAdvance(ToQ(texts_.at(name))) + 1;
}

int FilesPanel::PlaceValue(const std::string& name, int x, int y, int room, bool wrap) {
    QLabel* l = Label(name);
    auto it = texts_.find(name);
    const QString full = it == texts_.end() ? QString() : ToQ(it->second);
    const QFontMetrics fm = l->fontMetrics();
    const int width = fm.horizontalAdvance(full) + 1;
    if (width <= room) {
        l->setText(full);
        l->setToolTip(QString());
        l->setGeometry(x, y, std::max(width, 1), kLabelHeight);
        return kLabelHeight;
    }
    if (!wrap) {
        // The row below is fixed: a path loses its middle, keeping its folder's start and
        // the file's name; the tip has all of it.
        l->setText(fm.elidedText(full, Qt::ElideMiddle, room - 1));
        l->setToolTip(full);
        l->setGeometry(x, y, room, kLabelHeight);
        return kLabelHeight;
    }
    const QStringList lines = WrapToWidth(full, room - 1, fm);
    const int height = kLabelHeight + fm.lineSpacing() * static_cast<int>(lines.size() - 1);
    l->setText(lines.join('\n'));
    l->setToolTip(full);
    l->setGeometry(x, y, room, height);
    return height;
}

void FilesPanel::LayoutLabels() {
    std::array<DetailsRowWidths, kDetailsRows> rows{};
    for (int r = 0; r < kDetailsRows; ++r)
        rows[static_cast<std::size_t>(r)].left = TextWidth(kLeftValues[r]);
    for (int r = 0; r < 4; ++r)
        rows[static_cast<std::size_t>(r)].right = HasText(kRightCaptions[r]);
    int widestComment = 0;
    for (int r = 0; r < 8; ++r) {
        auto& row = rows[static_cast<std::size_t>(r)];
        row.right = row.right || HasText(kRightValues[r]);
        if (r >= kCommentsRow)
            widestComment = std::max(widestComment, TextWidth(kRightValues[r]));
    }
    // Date, time and cable ID stay whole; comments wrap onto the free rows below them.
    const std::array<DetailsBlock, 2> blocks{{
        {0, kCommentsRow - 1,
         std::max({TextWidth("SDate"), TextWidth("STime"), TextWidth("SCable")})},
        {kCommentsRow, 7, std::min(widestComment, kLeastCommentRoom)},
    }};
    const int edge = width() - kButtonWidth - kStripWidth - kEdgeMargin;
    const DetailsPlacement p = PlaceDetails(rows, blocks, edge);
    for (int r = 0; r < kDetailsRows; ++r)
        PlaceValue(kLeftValues[r], kDetailsValueX, kRowTop + r * kRowStep,
                   p.leftRoom[static_cast<std::size_t>(r)], false);
    int shift = 0;
    for (int r = 0; r < 8; ++r) {
        const std::size_t b = r < kCommentsRow ? 0 : 1;
        const int y = kRowTop + r * kRowStep + shift;
        if (r < 4)
            Label(kRightCaptions[r])->move(p.blockX[b], y);
        const int height = PlaceValue(kRightValues[r], p.blockX[b] + kDetailsSecondValueOffset, y,
                                      p.blockRoom[b], true);
        shift += height - kLabelHeight;
    }
}

void FilesPanel::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    LayoutButtons();
    LayoutLabels();
}

std::string FilesPanel::ShownLabelText(const std::string& name) const {
    QLabel* l = Label(name);
    auto it = texts_.find(name);
    // isHidden, not isVisible: a panel not on screen yet still shows its labels.
    return !l || l->isHidden() || it == texts_.end() ? std::string() : it->second;
}

void FilesPanel::SetTraceButton(int slot, const std::string& caption, Colour strip) {
    // A long name loses its middle, so that both its start and its end show; the tip has
    // all of it. An "&" in a file name is a character of the name, not an accelerator.
    QPushButton* b = TraceButton(slot);
    const QString whole = QString::fromStdString(caption);
    const int room = b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin) - 4;
    b->setText(b->fontMetrics().elidedText(whole, Qt::ElideMiddle, room).replace("&", "&&"));
    b->setToolTip(whole);
    QPalette pal = Strip(slot)->palette();
    pal.setColor(QPalette::Window, QColor(strip.r, strip.g, strip.b));
    Strip(slot)->setPalette(pal);
}

void FilesPanel::ClearTraceButton(int slot) {
    TraceButton(slot)->setText("");
    TraceButton(slot)->setToolTip("");
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
