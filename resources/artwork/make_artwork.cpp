// Draws the program icon, the hand pointer and the drag picture, and writes
// the pointers in the Windows cursor and icon formats that the program loads.
//
// usage: velunor_artwork OUTPUT_FOLDER

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cmath>
#include <cstdio>

namespace {

void Append16(QByteArray &bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void Append32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

// One 32-bit image in an icon (type 1) or cursor (type 2) file. For a cursor
// the two directory fields that hold planes and bit count hold the hot spot.
QByteArray IconFile(const QImage &source, quint16 type, QPoint hotSpot)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskRowBytes = ((size + 31) / 32) * 4;
    const quint32 pixelBytes = static_cast<quint32>(size * size * 4);
    const quint32 maskBytes = static_cast<quint32>(maskRowBytes * size);

    QByteArray bitmap;
    Append32(bitmap, 40);
    Append32(bitmap, static_cast<quint32>(size));
    Append32(bitmap, static_cast<quint32>(size * 2)); // colour image and mask
    Append16(bitmap, 1);
    Append16(bitmap, 32);
    Append32(bitmap, 0);
    Append32(bitmap, pixelBytes + maskBytes);
    Append32(bitmap, 0);
    Append32(bitmap, 0);
    Append32(bitmap, 0);
    Append32(bitmap, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            bitmap.append(static_cast<char>(qBlue(pixel)));
            bitmap.append(static_cast<char>(qGreen(pixel)));
            bitmap.append(static_cast<char>(qRed(pixel)));
            bitmap.append(static_cast<char>(qAlpha(pixel)));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(maskRowBytes, '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        bitmap.append(row);
    }

    QByteArray file;
    Append16(file, 0);
    Append16(file, type);
    Append16(file, 1);
    file.append(static_cast<char>(size == 256 ? 0 : size));
    file.append(static_cast<char>(size == 256 ? 0 : size));
    file.append('\0');
    file.append('\0');
    Append16(file, type == 2 ? static_cast<quint16>(hotSpot.x()) : 1);
    Append16(file, type == 2 ? static_cast<quint16>(hotSpot.y()) : 32);
    Append32(file, static_cast<quint32>(bitmap.size()));
    Append32(file, 6 + 16);
    file.append(bitmap);
    return file;
}

QImage Canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A pointing hand, the index finger's tip at (13, 1).
QImage Hand()
{
    QImage image = Canvas(32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(10.5, 1.5, 5, 17), 2.5, 2.5);    // index finger
    hand.addRoundedRect(QRectF(15.5, 10.5, 4.5, 10), 2.2, 2.2); // middle finger
    hand.addRoundedRect(QRectF(20, 12, 4.5, 9), 2.2, 2.2);      // ring finger
    hand.addRoundedRect(QRectF(24.5, 13.5, 4, 8), 2, 2);        // little finger
    hand.addRoundedRect(QRectF(5.5, 15, 6, 5), 2.5, 2.5);       // thumb
    hand.addRoundedRect(QRectF(8.5, 16, 20, 14), 4, 4);         // palm
    hand = hand.simplified();
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(hand);
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.drawLine(QPointF(15.5, 16), QPointF(15.5, 20));
    painter.drawLine(QPointF(20, 17), QPointF(20, 21));
    painter.drawLine(QPointF(24.5, 17), QPointF(24.5, 21));
    return image;
}

// A sheet of paper with an up and a down arrow: a list row on the move.
QImage DragPicture()
{
    QImage image = Canvas(32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(QColor(255, 255, 240));
    painter.drawRect(QRectF(4.5, 9.5, 17, 13));
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    for (int y = 13; y <= 19; y += 3)
        painter.drawLine(QPointF(7, y), QPointF(19, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 90, 200));
    QPolygonF up;
    up << QPointF(26, 2) << QPointF(31, 9) << QPointF(28, 9) << QPointF(28, 14) << QPointF(24, 14)
       << QPointF(24, 9) << QPointF(21, 9);
    painter.drawPolygon(up);
    QPolygonF down;
    down << QPointF(26, 30) << QPointF(31, 23) << QPointF(28, 23) << QPointF(28, 18)
         << QPointF(24, 18) << QPointF(24, 23) << QPointF(21, 23);
    painter.drawPolygon(down);
    return image;
}

// Two waves, one per channel, joining into one.
QImage ProgramIcon()
{
    const int size = 256;
    QImage image = Canvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, size);
    background.setColorAt(0, QColor(38, 70, 140));
    background.setColorAt(1, QColor(18, 36, 80));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(8, 8, size - 16, size - 16), 44, 44);

    auto wave = [&painter](double baseline, double amplitude, double from, double to, double turns,
                           const QColor &colour, double width) {
        QPainterPath path;
        for (double x = from; x <= to; x += 1) {
            const double y =
                baseline + amplitude * std::sin((x - from) / (to - from) * turns * 6.2832);
            if (x == from)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    };
    wave(84, 22, 36, 120, 2, QColor(255, 120, 90), 10);
    wave(172, 14, 36, 120, 3, QColor(110, 210, 255), 10);
    painter.setPen(QPen(QColor(230, 230, 230), 10, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(120, 84), QPointF(146, 128));
    painter.drawLine(QPointF(120, 172), QPointF(146, 128));
    wave(128, 26, 146, 222, 2, Qt::white, 12);
    return image;
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velunor_artwork OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool written = Write(folder + "/HAND-M.CUR", IconFile(Hand(), 2, QPoint(13, 1))) &&
                         Write(folder + "/drag.ico", IconFile(DragPicture(), 1, QPoint())) &&
                         ProgramIcon().save(folder + "/velunor.png", "PNG");
    return written ? 0 : 1;
}
