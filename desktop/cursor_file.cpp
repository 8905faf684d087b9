#include "desktop/cursor_file.h"

#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

QCursor loadCursorFile(const QString& path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(
            QStringLiteral("The pointer file %1 could not be opened: %2.").arg(shownPath, file.errorString()));
    const QByteArray bytes = file.readAll();

    // Header: reserved 0, type 2 for cursors, image count; the first directory
    // entry keeps the hot spot where icons keep planes and bit count.
    const auto word = [&](int offset) { return qFromLittleEndian<quint16>(bytes.constData() + offset); };
    if (bytes.size() < 22 || word(0) != 0 || word(2) != 2 || word(4) < 1)
        throw Failure(QStringLiteral("The pointer file %1 is not a cursor file.").arg(shownPath));
    const QImage image = QImage::fromData(bytes, "ICO");
    if (image.isNull())
        throw Failure(QStringLiteral("The pointer file %1 holds no image that can be shown.").arg(shownPath));
    return QCursor(QPixmap::fromImage(image), word(10), word(12));
}
