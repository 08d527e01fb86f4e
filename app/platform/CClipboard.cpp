#include "CClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void CClipboard::SetText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(text.c_str()));
}

std::string CClipboard::GetText()
{
    return QGuiApplication::clipboard()->text().toLocal8Bit().toStdString();
}
