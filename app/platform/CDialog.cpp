#include "CDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <cmath>

#include "CNumberEdit.h"
#include "CStaticControls.h"
#include "ResourceLoader.h"

namespace {

// Windows' MulDiv for the non-negative values of dialog layouts: a * b / c, rounded.
int mulDiv(int a, int b, int c)
{
    return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c);
}

// Adds items to menu; a chosen item's action carries its command id.
void addMenuItems(QMenu& menu, const std::vector<CMenu::Item>& items)
{
    for (const CMenu::Item& item : items) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QString text = QString::fromLocal8Bit(item.text.c_str());
        QString shortcut;
        if (const qsizetype tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
            shortcut = text.mid(tab + 1);
            text.truncate(tab);
        }
        if (item.flags & MF_POPUP) {
            addMenuItems(*menu.addMenu(text), item.popup);
            continue;
        }
        QAction* action = menu.addAction(text);
        if (!shortcut.isEmpty())
            action->setShortcut(QKeySequence(shortcut));
        action->setData(item.id);
    }
}

} // namespace

BOOL CMenu::AppendMenu(UINT flags, UINT id, const char* text)
{
    m_items.push_back({flags, (flags & MF_SEPARATOR) ? 0u : id, text ? text : "", {}});
    return true;
}

BOOL CMenu::AppendMenu(UINT flags, const CMenu& popup, const char* text)
{
    if (!(flags & MF_POPUP))
        return false;
    m_items.push_back({flags, 0u, text ? text : "", popup.m_items});
    return true;
}

CDialog::CDialog(const DlgTemplate& dlgTemplate, QWidget* parent)
    : QDialog(parent), m_template(dlgTemplate)
{
    m_font = QFont(QString::fromLatin1(FontFaceFor()));
    // Points to pixels at the screen's resolution, rounded as Windows rounds them.
    const int dpi = qRound(QFontMetricsF(QApplication::font()).fontDpi());
    m_font.setPixelSize(mulDiv(dlgTemplate.pointSize, dpi, 72));
    m_font.setStyleHint(QFont::SansSerif);

    // The base units as Windows takes them: the average width of the 52 letters,
    // rounded, and the font's height with ascent and descent each rounded up.
    const QFontMetrics metrics(m_font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseUnitX = (letters / 26 + 1) / 2;
    const QFontMetricsF exact(m_font);
    m_baseUnitY = static_cast<int>(std::ceil(exact.ascent()) + std::ceil(exact.descent()));

    m_systemMenu.AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    m_systemMenu.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

CDialog::~CDialog() = default;

QRect CDialog::MapDialogRect(int x, int y, int cx, int cy) const
{
    const int left = mulDiv(x, m_baseUnitX, 4);
    const int top = mulDiv(y, m_baseUnitY, 8);
    const int right = mulDiv(x + cx, m_baseUnitX, 4);
    const int bottom = mulDiv(y + cy, m_baseUnitY, 8);
    return QRect(left, top, right - left, bottom - top);
}

BOOL CDialog::Create()
{
    if (m_created)
        return true;
    m_created = true;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (m_template.minimizeBox)
        flags = (flags & ~Qt::Dialog) | Qt::Window | Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setWindowTitle(QString::fromLocal8Bit(m_template.caption));
    setFont(m_font);
    setFixedSize(MapDialogRect(0, 0, m_template.cx, m_template.cy).size());
    CreateControls();
    CDataExchange dx(this);
    DoDataExchange(&dx);
    OnInitDialog();
    return true;
}

void CDialog::CreateControls()
{
    std::vector<QWidget*> created;
    for (const DlgItemTemplate& item : m_template.items) {
        QWidget* widget = CreateControl(item);
        if (item.id != -1)
            m_items.emplace(item.id, CWnd(widget));
        widget->installEventFilter(this);
        created.push_back(widget);
    }
    // Template order is the z-order with the first control on top, and the tab order.
    for (auto it = created.rbegin(); it != created.rend(); ++it)
        (*it)->raise();
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < created.size(); ++i) {
        if (!(m_template.items[i].style & WS_TABSTOP))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, created[i]);
        previous = created[i];
    }
}

QWidget* CDialog::CreateControl(const DlgItemTemplate& item)
{
    const QString text = QString::fromLocal8Bit(item.text ? item.text : "");
    QWidget* widget = nullptr;
    switch (item.cls) {
    case DlgItemClass::Button:
        if ((item.style & BS_TYPEMASK) == BS_GROUPBOX) {
            widget = new CGroupBox(text, this);
            widget->setFocusPolicy(Qt::NoFocus);
        } else {
            auto button = new QPushButton(text, this);
            // Enter is the dialog's to handle (keyPressEvent), as on Windows.
            button->setAutoDefault(false);
            button->setDefault(false);
            const int id = item.id;
            connect(button, &QPushButton::clicked, this, [this, id] { DispatchCommand(id); });
            widget = button;
        }
        break;
    case DlgItemClass::Edit: {
        QLineEdit* edit = (item.style & ES_NUMBER) ? new CNumberEdit(this) : new QLineEdit(this);
        if (item.style & ES_CENTER)
            edit->setAlignment(Qt::AlignCenter);
        edit->setText(text);
        widget = edit;
        break;
    }
    case DlgItemClass::Static: {
        const DWORD type = item.style & SS_TYPEMASK;
        const bool centredLine = type == SS_CENTER && (item.style & SS_CENTERIMAGE);
        QLabel* label = centredLine ? new CCentredText(this) : new QLabel(this);
        if (type == SS_BITMAP || type == SS_ICON) {
            const QPixmap pixmap = type == SS_BITMAP ? LoadBitmap(item.image) : LoadIcon(item.image).pixmap(32, 32);
            label->setPixmap(pixmap);
            label->setAlignment(Qt::AlignCenter);
        } else {
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setWordWrap(type == SS_LEFT);
            Qt::Alignment align = type == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
            align |= (item.style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
            label->setAlignment(align);
        }
        widget = label;
        break;
    }
    }
    QRect rect = MapDialogRect(item.x, item.y, item.cx, item.cy);
    const DWORD type = item.style & SS_TYPEMASK;
    // A bitmap static sizes itself to its bitmap; an icon static to the icon.
    if (item.cls == DlgItemClass::Static && type == SS_BITMAP)
        rect.setSize(static_cast<QLabel*>(widget)->pixmap().size());
    else if (item.cls == DlgItemClass::Static && type == SS_ICON)
        rect.setSize(QSize(32, 32));
    if (auto centred = dynamic_cast<CCentredText*>(widget))
        centred->SetTemplateGeometry(rect);
    else
        widget->setGeometry(rect);
    widget->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
    if (item.style & WS_DISABLED)
        widget->setEnabled(false);
    widget->setVisible(item.style & WS_VISIBLE);
    return widget;
}

INT_PTR CDialog::DoModal()
{
    return CModalHost::Get().RunDialog(*this);
}

INT_PTR CDialog::RunModalLoop()
{
    Create();
    if (m_destroyed)
        return m_result;
    setWindowModality(Qt::ApplicationModal);
    show();
    // Centred over the owner, which without a parent is the active window as on
    // Windows, or else on the screen (DS_CENTER).
    const QWidget* owner = parentWidget() ? parentWidget() : QApplication::activeWindow();
    const QRect area = owner && owner != this && owner->isVisible()
                           ? owner->frameGeometry()
                           : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
    return m_result;
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    hide();
    if (m_modalLoop)
        m_modalLoop->exit();
}

BOOL CDialog::DestroyWindow()
{
    m_destroyed = true;
    hide();
    if (m_modalLoop)
        m_modalLoop->exit();
    return true;
}

CWnd* CDialog::GetDlgItem(int id)
{
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : &it->second;
}

void CDialog::SetDlgItemText(int id, const char* text)
{
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

UINT CDialog::GetDlgItemText(int id, char* buffer, int maxCount)
{
    if (CWnd* item = GetDlgItem(id))
        return static_cast<UINT>(item->GetWindowText(buffer, maxCount));
    if (buffer && maxCount > 0)
        buffer[0] = '\0';
    return 0;
}

BOOL CDialog::ShowWindow(int cmdShow)
{
    return CWnd(this).ShowWindow(cmdShow);
}

void CDialog::UpdateWindow()
{
    repaint();
}

int CDialog::MessageBox(const char* text, const char* caption, UINT type)
{
    return CModalHost::Get().MessageBox(this, text, caption ? caption : m_template.caption, type);
}

CMenu* CDialog::GetSystemMenu(BOOL)
{
    return &m_systemMenu;
}

void CDialog::ShowSystemMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    addMenuItems(menu, m_systemMenu.GetItems());
    if (QAction* chosen = menu.exec(globalPos))
        OnSysCommand(chosen->data().toUInt(), 0);
}

void CDialog::SendCommand(int id)
{
    DispatchCommand(id);
}

void CDialog::DispatchCommand(int id)
{
    if (!OnCommand(id)) {
        if (id == IDOK)
            OnOK();
        else if (id == IDCANCEL)
            OnCancel();
    }
}

BOOL CDialog::OnInitDialog()
{
    return true;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnCommand(int)
{
    return false;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnSysCommand(UINT nID, std::intptr_t)
{
    switch (nID & 0xFFF0) {
    case SC_MINIMIZE:
        showMinimized();
        break;
    case SC_CLOSE:
        DispatchCommand(IDCANCEL);
        break;
    default:
        break;
    }
}

bool CDialog::TranslateAccelerator(const QKeyEvent& event)
{
    const auto modifiers = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const ACCEL& accel : m_accelerators) {
        Qt::KeyboardModifiers wanted;
        if (accel.fVirt & FSHIFT)
            wanted |= Qt::ShiftModifier;
        if (accel.fVirt & FCONTROL)
            wanted |= Qt::ControlModifier;
        if (accel.fVirt & FALT)
            wanted |= Qt::AltModifier;
        if (event.key() == accel.key && modifiers == wanted) {
            OnSysCommand(accel.cmd, 0);
            return true;
        }
    }
    return false;
}

bool CDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && TranslateAccelerator(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void CDialog::keyPressEvent(QKeyEvent* event)
{
    if (TranslateAccelerator(*event))
        return;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        DispatchCommand(IDCANCEL);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        modifiers == Qt::NoModifier) {
        // A focused push button takes Enter; otherwise the default push button
        // does, and a hidden or disabled one swallows it.
        if (auto button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
        for (const DlgItemTemplate& item : m_template.items) {
            if (item.cls != DlgItemClass::Button || (item.style & BS_TYPEMASK) != BS_DEFPUSHBUTTON)
                continue;
            const CWnd* button = GetDlgItem(item.id);
            if (button && button->IsWindowEnabled() && button->IsWindowVisible())
                DispatchCommand(item.id);
            return;
        }
        DispatchCommand(IDOK);
        return;
    }
    if (event->key() == Qt::Key_Space && modifiers == Qt::AltModifier) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::closeEvent(QCloseEvent* event)
{
    // The close box and Alt+F4 are the Close command, which is IDCANCEL; the
    // handler decides whether the window goes.
    event->ignore();
    if (!m_destroyed && isVisible())
        DispatchCommand(IDCANCEL);
}

void CDialog::contextMenuEvent(QContextMenuEvent* event)
{
    ShowSystemMenu(event->globalPos());
}

void CDialog::reject()
{
    DispatchCommand(IDCANCEL);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id))
        control.Attach(item->GetSafeHwnd());
}
