#include "CWnd.h"

#include "CStaticControls.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <algorithm>
#include <cstring>

namespace {

QString textOf(const QWidget* widget)
{
    if (auto edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return widget->windowTitle();
}

} // namespace

BOOL CWnd::EnableWindow(BOOL enable)
{
    if (!m_hWnd)
        return false;
    const BOOL wasDisabled = !m_hWnd->isEnabled();
    m_hWnd->setEnabled(enable);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && m_hWnd->isEnabled();
}

void CWnd::SetFocus()
{
    if (m_hWnd)
        m_hWnd->setFocus(Qt::OtherFocusReason);
}

BOOL CWnd::ShowWindow(int cmdShow)
{
    if (!m_hWnd)
        return false;
    const BOOL wasVisible = m_hWnd->isVisible();
    if (cmdShow == SW_HIDE) {
        m_hWnd->hide();
    } else {
        m_hWnd->showNormal();
        if (m_hWnd->isWindow())
            m_hWnd->activateWindow();
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd && m_hWnd->isVisible();
}

void CWnd::UpdateWindow()
{
    if (m_hWnd)
        m_hWnd->repaint();
}

void CWnd::SetWindowText(const char* text)
{
    if (!m_hWnd)
        return;
    const QString value = QString::fromLocal8Bit(text ? text : "");
    if (auto edit = qobject_cast<QLineEdit*>(m_hWnd))
        edit->setText(value);
    else if (auto button = qobject_cast<QAbstractButton*>(m_hWnd))
        button->setText(value);
    else if (auto centred = dynamic_cast<CCentredText*>(m_hWnd))
        centred->SetText(value);
    else if (auto label = qobject_cast<QLabel*>(m_hWnd))
        label->setText(value);
    else if (auto group = qobject_cast<QGroupBox*>(m_hWnd))
        group->setTitle(value);
    else
        m_hWnd->setWindowTitle(value);
}

int CWnd::GetWindowText(char* buffer, int maxCount) const
{
    if (!buffer || maxCount <= 0)
        return 0;
    buffer[0] = '\0';
    if (!m_hWnd)
        return 0;
    const QByteArray text = textOf(m_hWnd).toLocal8Bit();
    const int count = std::min<int>(text.size(), maxCount - 1);
    std::memcpy(buffer, text.constData(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
    return count;
}
