// The keypad panel: digit boxes over a twelve-key pad, typed digits and Backspace / Delete.
#include <Tallowmere/Panels/Panels.hpp>

#include <Tallowmere/Art/Draw.hpp>
#include <Tallowmere/Art/ScreenPalette.hpp>
#include <Tallowmere/Model/GameModel.hpp>
#include <Tallowmere/Widgets/GlassButton.hpp>

#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <array>

namespace tallowmere {

namespace {

constexpr double kBoxW = 54;
constexpr double kBoxH = 66;
constexpr double kBoxGap = 10;
constexpr double kBoxRadius = 10;
constexpr double kBoxBorder = 1.5;
constexpr std::uint32_t kBoxFill = 0x06241A;
constexpr std::uint32_t kDigitInk = 0xB6FFDD;
const Font kDigitFont{30, FontWeight::bold, FontDesign::monospaced};

// A key (its 66-wide label plus the glass padding) is wider than a 78-wide column, so
// the columns grow to the key; fixed 78-wide columns would lay neighbouring keys over each other.
constexpr double kKeyColumnMinW = 78;
constexpr double kKeyGap = 10;  // between columns and between rows
constexpr int kKeyColumns = 3;
const QSizeF kKeyLabelSize{66, 46};
const Font kKeyFont{22, FontWeight::semibold, FontDesign::rounded};

const std::array<QString, 12> kKeyLabels = {
    QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
    QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
    QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
    QStringLiteral("\u232B"), QStringLiteral("0"), QStringLiteral("C"),
};
constexpr std::size_t kDeleteKey = 9;
constexpr std::size_t kClearKey = 11;

// The digit a key press types, from any script's decimal digits; -1 for none.
int typedDigit(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty() || !text.front().isDigit()) return -1;
    const int value = text.front().digitValue();
    return value >= 0 && value <= 9 ? value : -1;
}

bool isDeleteKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete;
}

bool hasCommandModifier(const QKeyEvent& event) {
    return event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

}  // namespace

KeypadPanel::KeypadPanel(GameModel& model, ostrevan::Panel panel, int length, QWidget* parent)
    : PanelView(model, std::move(panel), parent), m_length(std::max(0, length)) {
    setFocusPolicy(Qt::StrongFocus);

    const double rowW = m_length > 0 ? m_length * kBoxW + (m_length - 1) * kBoxGap : 0;
    m_row = new PanelCanvas([this](Canvas canvas) { paintDigits(canvas); }, this);
    m_row->resize(int(std::ceil(rowW)), int(kBoxH));

    for (std::size_t i = 0; i < kKeyLabels.size(); ++i) {
        auto* key = new GlassButton(kKeyLabels[i], false, false, this);
        key->setLabelFont(kKeyFont);
        key->setLabelMinimumSize(kKeyLabelSize);
        key->resize(key->sizeHint());
        if (i == kDeleteKey) {
            connect(key, &QAbstractButton::clicked, this, [this] { deleteLast(); });
        } else if (i == kClearKey) {
            connect(key, &QAbstractButton::clicked, this, [this] { clearEntry(); });
        } else {
            const int digit = kKeyLabels[i].toInt();
            connect(key, &QAbstractButton::clicked, this, [this, digit] { press(digit); });
        }
        m_keys.push_back(key);
    }

    const QSize keySize = m_keys.front()->size();
    const double columnW = std::max(kKeyColumnMinW, double(keySize.width()));
    const double gridW = kKeyColumns * columnW + (kKeyColumns - 1) * kKeyGap;
    const int rows = int(m_keys.size() + kKeyColumns - 1) / kKeyColumns;
    const double gridH = rows * keySize.height() + (rows - 1) * kKeyGap;
    const double contentW = std::max(rowW, gridW);
    const double gridX = kBleed + (contentW - gridW) / 2;
    const double gridY = kBleed + kBoxH + kPanelRowGap;
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const int column = int(i) % kKeyColumns;
        const int row = int(i) / kKeyColumns;
        const double x = gridX + column * (columnW + kKeyGap) + (columnW - keySize.width()) / 2;
        const double y = gridY + row * (keySize.height() + kKeyGap);
        m_keys[i]->move(int(std::lround(x)), int(std::lround(y)));
    }

    setEntryRow(m_row, QPoint(int(std::lround(kBleed + (contentW - rowW) / 2)), kBleed));
    setContentSize({contentW, kBoxH + kPanelRowGap + gridH});
}

void KeypadPanel::press(int digit) {
    if (isSolved()) return;
    if (int(m_digits.size()) >= m_length) return;  // also while a wrong entry waits to be emptied
    playTap();
    m_digits.push_back(digit);
    if (int(m_digits.size()) == m_length) {
        submit(m_digits, [this] {
            m_digits.clear();
            m_row->update();
        });
    }
    m_row->update();
}

void KeypadPanel::deleteLast() {
    if (isSolved() || m_digits.empty()) return;
    m_digits.pop_back();
    m_row->update();
}

void KeypadPanel::clearEntry() {
    if (isSolved()) return;
    m_digits.clear();
    m_row->update();
}

bool KeypadPanel::event(QEvent* event) {
    // Digits and deleting belong to the pad even where a window shortcut would claim them.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (!hasCommandModifier(key) && (typedDigit(key) >= 0 || isDeleteKey(key))) {
            event->accept();
            return true;
        }
    }
    return PanelView::event(event);
}

void KeypadPanel::keyPressEvent(QKeyEvent* event) {
    if (const int digit = typedDigit(*event); digit >= 0) {
        press(digit);
    } else if (isDeleteKey(*event)) {
        deleteLast();
    } else {
        event->ignore();  // Escape and the rest belong to the game screen
        return;
    }
    event->accept();
}

void KeypadPanel::paintDigits(Canvas canvas) const {
    const int entered = int(m_digits.size());
    for (int i = 0; i < m_length; ++i) {
        const Rect box{i * (kBoxW + kBoxGap), 0, kBoxW, kBoxH};
        canvas.fill(shape::roundedRect(box, kBoxRadius), H(kBoxFill));
        const QColor border = isSolved() ? UI::good() : (i == entered ? white(0.5) : white(0.14));
        strokeInside(canvas, box, kBoxRadius, border, kBoxBorder);
        if (i < entered) {
            const QColor ink = isSolved() ? UI::good() : H(kDigitInk);
            canvas.drawText(QString::number(m_digits[std::size_t(i)]), QPointF(box.x + box.w / 2, box.y + box.h / 2),
                            kDigitFont, ink);
        }
    }
}

}  // namespace tallowmere
