// The letters panel: wheels A to Z with chevrons, a cursor, typed letters, the arrow keys and
// Return, and its "Try it" button.
#include <Tallowmere/Panels/Panels.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Art/Text.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

constexpr int kAlphabet = 26;
constexpr double kColumnGap = 8;
constexpr double kColumnSpacing = 6;  // chevron, cell, chevron
constexpr double kCellW = 50;
constexpr double kNarrowCellW = 42;  // six wheels or more
constexpr int kWideCellMaxCount = 5;
constexpr double kCellH = 62;
constexpr double kCellRadius = 8;
constexpr double kCellBorder = 2.5;
constexpr std::uint32_t kCellFill = 0xEFE9D8;
const Font kLetterFont{30, FontWeight::heavy, FontDesign::serif};
const Font kTipFont{12, FontWeight::regular, FontDesign::rounded};
const QString kTip = QStringLiteral("Tip: you can also type the letters.");

GlassButton* makeChevron(const char* symbol, QWidget* parent) {
    auto* button = new GlassButton(false, true, parent);
    button->setSymbol(symbol);
    button->resize(button->sizeHint());
    return button;
}

bool hasCommandModifier(const QKeyEvent& event) {
    return event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool typesLetter(const QKeyEvent& event) {
    const QList<uint> scalars = event.text().toUcs4();
    return !scalars.isEmpty() && QChar::isLetter(char32_t(scalars.front()));
}

bool isPanelKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return: return true;
        default: return false;
    }
}

}  // namespace

LettersPanel::LettersPanel(GameModel& model, ostrevan::Panel panel, int count, QWidget* parent)
    : PanelView(model, std::move(panel), parent), m_count(std::max(1, count)), m_letters(std::size_t(m_count), 0) {
    setFocusPolicy(Qt::StrongFocus);
    m_cellW = m_count <= kWideCellMaxCount ? kCellW : kNarrowCellW;

    m_row = new PanelCanvas([this](Canvas canvas) { paintWheels(canvas); }, this, [this](QPointF at) {
        for (std::size_t i = 0; i < m_letters.size(); ++i) {
            if (toQRectF(cellInRow(i)).contains(at)) {
                m_cursor = int(i);  // silently, solved or not
                m_row->update();
            }
        }
    });
    for (int i = 0; i < m_count; ++i) {
        const auto wheel = std::size_t(i);
        m_up.push_back(makeChevron("chevron.up", m_row));
        m_down.push_back(makeChevron("chevron.down", m_row));
        connect(m_up.back(), &QAbstractButton::clicked, this, [this, wheel] { bump(wheel, +1); });
        connect(m_down.back(), &QAbstractButton::clicked, this, [this, wheel] { bump(wheel, -1); });
    }
    const QSize chevron = m_up.front()->size();
    m_columnW = std::max(m_cellW, double(chevron.width()));
    m_cellY = chevron.height() + kColumnSpacing;
    const double rowW = m_count * m_columnW + (m_count - 1) * kColumnGap;
    const double rowH = m_cellY + kCellH + kColumnSpacing + chevron.height();
    for (int i = 0; i < m_count; ++i) {
        const double x = i * (m_columnW + kColumnGap) + (m_columnW - chevron.width()) / 2;
        m_up[std::size_t(i)]->move(int(std::lround(x)), 0);
        m_down[std::size_t(i)]->move(int(std::lround(x)), int(std::lround(m_cellY + kCellH + kColumnSpacing)));
    }
    m_row->resize(int(std::ceil(rowW)), int(std::ceil(rowH)));

    m_try = new GlassButton(QStringLiteral("Try it"), true, false, this);
    m_try->resize(m_try->sizeHint());
    connect(m_try, &QAbstractButton::clicked, this, [this] { tryIt(); });

    const double tipH = lineHeight(kTipFont);
    const double contentW = std::max({rowW, double(m_try->width()), textWidth(kTip, kTipFont)});
    const double tryY = rowH + kPanelRowGap;
    m_tipY = kBleed + tryY + m_try->height() + kPanelRowGap + tipH / 2;
    setEntryRow(m_row, QPoint(int(std::lround(kBleed + (contentW - rowW) / 2)), kBleed));
    m_try->move(int(std::lround(kBleed + (contentW - m_try->width()) / 2)), int(std::lround(kBleed + tryY)));
    setContentSize({contentW, tryY + m_try->height() + kPanelRowGap + tipH});
}

GlassButton* LettersPanel::upButton(std::size_t wheel) const {
    return wheel < m_up.size() ? m_up[wheel] : nullptr;
}

GlassButton* LettersPanel::downButton(std::size_t wheel) const {
    return wheel < m_down.size() ? m_down[wheel] : nullptr;
}

Rect LettersPanel::cellInRow(std::size_t wheel) const {
    return Rect{double(wheel) * (m_columnW + kColumnGap) + (m_columnW - m_cellW) / 2, m_cellY, m_cellW, kCellH};
}

QRect LettersPanel::cellRect(std::size_t wheel) const {
    return toQRectF(cellInRow(wheel)).translated(m_row->pos()).toRect();
}

void LettersPanel::bump(std::size_t wheel, int step) {
    if (isSolved() || wheel >= m_letters.size()) return;
    playTap();
    m_letters[wheel] = (m_letters[wheel] + step % kAlphabet + kAlphabet) % kAlphabet;
    m_row->update();
}

void LettersPanel::typeLetter(const QString& text) {
    // Typing is not refused once solved: the result is on its way and nothing typed now counts.
    const QList<uint> scalars = text.toUpper().toUcs4();
    if (scalars.isEmpty() || scalars.front() < 'A' || scalars.front() > 'Z') return;
    m_letters[std::size_t(m_cursor)] = int(scalars.front() - 'A');
    m_cursor = std::min(m_cursor + 1, m_count - 1);  // the last wheel is overwritten from then on
    playTap();
    m_row->update();
}

void LettersPanel::moveCursor(int step) {
    m_cursor = std::clamp(m_cursor + step, 0, m_count - 1);
    m_row->update();
}

void LettersPanel::tryIt() {
    if (isSolved()) return;
    submit(m_letters, {});  // a wrong word stays for the player to mend
    m_row->update();
}

bool LettersPanel::event(QEvent* event) {
    // Letters (the hint key among them), the arrows and Return belong to the lock while it holds
    // the keyboard, even where a window shortcut would claim them.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (!hasCommandModifier(key) && (typesLetter(key) || isPanelKey(key))) {
            event->accept();
            return true;
        }
    }
    return PanelView::event(event);
}

void LettersPanel::keyPressEvent(QKeyEvent* event) {
    if (typesLetter(*event)) {
        typeLetter(event->text());
    } else if (event->key() == Qt::Key_Left) {
        moveCursor(-1);
    } else if (event->key() == Qt::Key_Right) {
        moveCursor(+1);
    } else if (event->key() == Qt::Key_Up) {
        bump(std::size_t(m_cursor), +1);
    } else if (event->key() == Qt::Key_Down) {
        bump(std::size_t(m_cursor), -1);
    } else if (event->key() == Qt::Key_Return) {
        tryIt();
    } else {
        event->ignore();  // Escape and the rest belong to the game screen
        return;
    }
    event->accept();
}

void LettersPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Canvas canvas(painter);
    canvas.drawText(kTip, QPointF(width() / 2.0, m_tipY), kTipFont, UI::dim());
}

void LettersPanel::paintWheels(Canvas canvas) const {
    for (std::size_t i = 0; i < m_letters.size(); ++i) {
        const Rect cell = cellInRow(i);
        canvas.fill(shape::roundedRect(cell, kCellRadius), H(kCellFill));
        canvas.drawText(QString(QChar(char16_t('A' + m_letters[i]))), QPointF(cell.x + cell.w / 2, cell.y + cell.h / 2),
                        kLetterFont, H(kPanelInk));
        const QColor border = isSolved() ? UI::good() : (int(i) == m_cursor ? UI::amber() : black(0.3));
        strokeInside(canvas, cell, kCellRadius, border, kCellBorder);
    }
}

}  // namespace tallowmere
