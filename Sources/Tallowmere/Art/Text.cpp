#include <Tallowmere/Art/Text.hpp>

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace tallowmere {

namespace {

// The user-perceived characters of a text, so tracking never splits an accent from its letter.
std::vector<QString> graphemes(const QString& text) {
    std::vector<QString> parts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (true) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0) break;
        if (next > start) parts.push_back(text.mid(start, next - start));
        start = next;
    }
    return parts;
}

}  // namespace

double textWidth(const QString& text, const Font& font, double tracking) {
    if (text.isEmpty()) return 0;
    if (tracking == 0) return measureText(text, font).width();
    double width = 0;
    const std::vector<QString> parts = graphemes(text);
    for (const QString& part : parts) width += measureText(part, font).width();
    return width + tracking * double(parts.size() - 1);
}

double lineHeight(const Font& font) {
    return measureText(QStringLiteral("Ag"), font).height();
}

std::vector<QString> wrapText(const QString& text, const Font& font, double maxWidth) {
    std::vector<QString> lines;
    for (const QString& paragraph : text.split('\n')) {
        QString line;
        for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + ' ' + word;
            if (line.isEmpty() || textWidth(candidate, font) <= maxWidth) {
                line = candidate;
            } else {
                lines.push_back(line);
                line = word;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

void drawTextLine(const Canvas& canvas, const QString& text, double left, double centerY, const Font& font,
                  const Paint& paint, double tracking) {
    if (text.isEmpty()) return;
    if (tracking == 0) {
        canvas.drawText(text, QPointF(left + measureText(text, font).width() / 2, centerY), font, paint);
        return;
    }
    double x = left;
    for (const QString& part : graphemes(text)) {
        const double w = measureText(part, font).width();
        canvas.drawText(part, QPointF(x + w / 2, centerY), font, paint);
        x += w + tracking;
    }
}

void drawTextCentered(const Canvas& canvas, const QString& text, QPointF center, const Font& font,
                      const Paint& paint, double tracking) {
    drawTextLine(canvas, text, center.x() - textWidth(text, font, tracking) / 2, center.y(), font, paint, tracking);
}

}  // namespace tallowmere
