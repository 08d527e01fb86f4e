#include "ResourceLoader.h"

QPixmap LoadBitmap(int id)
{
    return QPixmap(QStringLiteral(":/res/bitmap/%1").arg(id));
}

QIcon LoadIcon(int id)
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addFile(QStringLiteral(":/res/icon/%1/%2").arg(id).arg(size), QSize(size, size));
    return icon;
}

const char* FontFaceFor()
{
    return "Liberation Sans";
}
