#include "Art/ReferencePictures.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace tallowmere::testing {

namespace {

constexpr int kCell = 4;
// The largest change of one cell's mean in one channel, out of 255, that is still the same
// picture. Renders here repeat exactly, in the plain and the sanitized build alike; a step of 3
// is a thin line moved by a fraction of a pixel or a colour changed by one shade.
constexpr int kTolerance = 2;

// "family/case", lower case, with anything but letters, digits and the slash as single dashes.
std::string fileName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '/') {
            out += char(std::tolower(u));
        } else if (!out.empty() && out.back() != '-' && out.back() != '/') {
            out += '-';
        }
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

QString referencePath(const std::string& name) {
    return QStringLiteral(TM_REFERENCES "/") + QString::fromStdString(name) + ".png";
}

// The rounded mean of each cell, premultiplied, stored as the RGBA bytes of a picture a quarter
// the size each way; a cell at the right or bottom edge averages the pixels it holds.
QImage cellMeans(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = (image.width() + kCell - 1) / kCell;
    const int h = (image.height() + kCell - 1) / kCell;
    QImage cells(w, h, QImage::Format_RGBA8888);
    for (int cy = 0; cy < h; ++cy) {
        uchar* out = cells.scanLine(cy);
        for (int cx = 0; cx < w; ++cx) {
            int sum[4] = {0, 0, 0, 0};
            int n = 0;
            for (int y = cy * kCell; y < std::min(image.height(), (cy + 1) * kCell); ++y) {
                for (int x = cx * kCell; x < std::min(image.width(), (cx + 1) * kCell); ++x) {
                    const QRgb p = image.pixel(x, y);
                    sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p), sum[3] += qAlpha(p);
                    ++n;
                }
            }
            for (int i = 0; i < 4; ++i) out[4 * cx + i] = uchar((sum[i] + n / 2) / n);
        }
    }
    return cells;
}

// The largest difference of one channel in the cell, 0 to 255.
int cellDifference(const QImage& a, const QImage& b, int x, int y, int* channel = nullptr) {
    const uchar* p = a.constScanLine(y) + 4 * x;
    const uchar* q = b.constScanLine(y) + 4 * x;
    int worst = 0;
    for (int i = 0; i < 4; ++i) {
        const int d = std::abs(int(p[i]) - int(q[i]));
        if (d > worst) {
            worst = d;
            if (channel) *channel = i;
        }
    }
    return worst;
}

// Cells as the premultiplied picture they hold, scaled back to the render's size.
QImage enlarged(const QImage& cells) {
    const QImage view(cells.constBits(), cells.width(), cells.height(), int(cells.bytesPerLine()),
                      QImage::Format_RGBA8888_Premultiplied);
    return view.scaled(cells.size() * kCell, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Before, after, and the after picture dimmed with every changed cell marked: yellow within the
// tolerance, red past it.
QImage changePicture(const QImage& before, const QImage& after) {
    const QSize size = after.size() * kCell;
    constexpr int kGap = 8;
    QImage sheet(3 * size.width() + 2 * kGap, std::max(size.height(), before.height() * kCell),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(128, 128, 128));
    QPainter painter(&sheet);
    if (!before.isNull()) painter.drawImage(0, 0, enlarged(before));
    painter.drawImage(size.width() + kGap, 0, enlarged(after));
    const int x0 = 2 * (size.width() + kGap);
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const uchar* p = after.constScanLine(y) + 4 * x;
            const int grey = (p[0] + p[1] + p[2]) / 9;
            QColor colour(grey, grey, grey);
            if (before.size() != after.size()) {
                colour = QColor(255, 0, 0);
            } else if (const int d = cellDifference(before, after, x, y)) {
                colour = d > kTolerance ? QColor(255, std::max(0, 120 - 4 * d), 0) : QColor(200, 200, 0);
            }
            painter.fillRect(x0 + x * kCell, y * kCell, kCell, kCell, colour);
        }
    }
    painter.end();
    return sheet;
}

bool saveIn(const QString& folder, const std::string& name, const char* suffix, const QImage& image) {
    const QString path = folder + "/" + QString::fromStdString(name) + suffix;
    return QDir().mkpath(QFileInfo(path).path()) && image.save(path, "PNG");
}

void appendLine(const QString& path, const std::string& line) {
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text)) file.write((line + "\n").c_str());
}

}  // namespace

::testing::AssertionResult matchesReference(const std::string& caseName, const QImage& image) {
    const std::string name = fileName(caseName);
    if (image.isNull()) return ::testing::AssertionFailure() << "reference " << name << ": nothing was drawn";
    const QImage cells = cellMeans(image);

    // One name, one picture: two cases under one name would keep rewriting each other.
    static std::map<std::string, QImage> seen;
    const auto [previous, isNew] = seen.emplace(name, cells);
    if (!isNew && previous->second != cells)
        return ::testing::AssertionFailure() << "reference " << name << " names two different pictures";

    const QImage want = QImage(referencePath(name)).convertToFormat(QImage::Format_RGBA8888);
    int worst = -1, channel = 0, over = 0;
    QPoint worstCell;
    if (want.size() == cells.size()) {
        worst = 0;
        for (int y = 0; y < cells.height(); ++y) {
            for (int x = 0; x < cells.width(); ++x) {
                int c = 0;
                const int d = cellDifference(cells, want, x, y, &c);
                over += d > kTolerance;
                if (d > worst) worst = d, channel = c, worstCell = {x, y};
            }
        }
    }

    const char* update = std::getenv("TM_UPDATE_REFERENCES");
    if (update != nullptr && *update != '\0') {
        const QString folder = QString::fromLocal8Bit(update);
        appendLine(folder + "/seen.txt", name);
        if (worst >= 0 && worst <= kTolerance) return ::testing::AssertionSuccess();
        const QString path = referencePath(name);
        if (!QDir().mkpath(QFileInfo(path).path()) || !cells.save(path, "PNG", 0) ||
            QImage(path).convertToFormat(QImage::Format_RGBA8888) != cells)
            return ::testing::AssertionFailure() << "reference " << name << ": could not write " << path.toStdString();
        saveIn(folder, name, ".png", changePicture(want, cells));
        saveIn(folder, name, ".render.png", image);
        appendLine(folder + "/changed.txt", name + (want.isNull() ? " (new)" : ""));
        return ::testing::AssertionSuccess();
    }
    if (worst >= 0 && worst <= kTolerance) return ::testing::AssertionSuccess();

    const QString folder = QDir::tempPath() + "/tallowmere-reference-failures";
    saveIn(folder, name, ".png", changePicture(want, cells));
    saveIn(folder, name, ".render.png", image);
    auto failure = ::testing::AssertionFailure() << "reference " << name << ": ";
    if (want.isNull()) {
        failure << "no reference picture " << referencePath(name).toStdString();
    } else if (worst < 0) {
        failure << "the picture is " << image.width() << " x " << image.height() << ", its reference "
                << want.width() * kCell << " x " << want.height() * kCell;
    } else {
        const uchar* got = cells.constScanLine(worstCell.y()) + 4 * worstCell.x();
        const uchar* was = want.constScanLine(worstCell.y()) + 4 * worstCell.x();
        failure << over << " cells differ by more than " << kTolerance << "; the worst, pixels ("
                << worstCell.x() * kCell << ", " << worstCell.y() * kCell << ") to ("
                << worstCell.x() * kCell + kCell - 1 << ", " << worstCell.y() * kCell + kCell - 1 << "), has "
                << "RGBA"[channel] << " " << int(got[channel]) << " where the reference has " << int(was[channel]);
    }
    return failure << "\n  (before | after | changed cells: " << (folder + "/").toStdString() << name
                   << ".png; the render: " << name << ".render.png; scripts/update-references renews it)";
}

QImage sideBySide(const std::vector<QImage>& images) {
    int width = 0, height = 0;
    for (const QImage& image : images) {
        width += (image.width() + kCell - 1) / kCell * kCell;  // each starts on a cell
        height = std::max(height, image.height());
    }
    QImage sheet(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    int x = 0;
    for (const QImage& image : images) {
        painter.drawImage(x, 0, image);
        x += (image.width() + kCell - 1) / kCell * kCell;
    }
    painter.end();
    return sheet;
}

}  // namespace tallowmere::testing
