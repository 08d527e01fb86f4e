#pragma once

#include <QIcon>
#include <QPixmap>

// Resources by number, as the resource script numbers them. They live in the Qt
// resource file under :/res/bitmap/<id> and :/res/icon/<id>/<size>.
QPixmap LoadBitmap(int id);
QIcon LoadIcon(int id);

// The installed face that stands in for the Windows dialog fonts: Liberation Sans
// has Arial's metrics, so layouts in dialog units come out as they would on Windows.
const char* FontFaceFor();
