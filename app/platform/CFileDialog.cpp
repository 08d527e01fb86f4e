#include "CFileDialog.h"

#include "CModalHost.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <cstring>

namespace {

// QFileDialog with the checks that the Windows dialog makes before it closes.
class CQtFileDialog : public QFileDialog {
public:
    CQtFileDialog(QWidget* parent, DWORD flags) : QFileDialog(parent), m_flags(flags) {}

protected:
    void accept() override
    {
        if (acceptMode() == AcceptSave && !selectedFiles().isEmpty() && !AcceptSaveChoice())
            return;
        QFileDialog::accept();
    }

private:
    bool AcceptSaveChoice()
    {
        const QFileInfo file(selectedFiles().constFirst());
        if (file.isDir())
            return true;
        const QString name = QDir::toNativeSeparators(file.absoluteFilePath());
        if (file.exists()) {
            // Read-only as Windows means it: no write permission for anyone, which
            // holds even for root, or none for this user.
            const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
            const bool readOnly = !(file.permissions() & writeBits) || !file.isWritable();
            if ((m_flags & OFN_NOREADONLYRETURN) && readOnly) {
                QMessageBox::warning(this, windowTitle(),
                                     tr("%1\nThis file is set to read-only.\nTry again with a different file name.")
                                         .arg(name));
                return false;
            }
            return true;
        }
        if ((m_flags & OFN_NOREADONLYRETURN) && !QFileInfo(file.absolutePath()).isWritable()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("%1\nThis folder is write-protected.\nChoose another folder.").arg(name));
            return false;
        }
        if (m_flags & OFN_CREATEPROMPT) {
            const auto answer =
                QMessageBox::question(this, windowTitle(),
                                      tr("%1\nThis file does not exist.\nDo you want to create it?").arg(name));
            return answer == QMessageBox::Yes;
        }
        return true;
    }

    DWORD m_flags;
};

} // namespace

QStringList ParseFilterString(const char* filter)
{
    QStringList filters;
    if (!filter)
        return filters;
    const QStringList parts = QString::fromLocal8Bit(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts[i];
        if (label.isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, QWidget* parent)
    : m_openFileDialog(openFileDialog), m_parent(parent)
{
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrFilter = filter;
    m_ofn.lpstrDefExt = defExt;
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = sizeof m_fileBuffer;
    if (fileName)
        SetPathName(fileName);
}

INT_PTR CFileDialog::DoModal()
{
    return CModalHost::Get().RunFileDialog(*this);
}

void CFileDialog::SetPathName(const std::string& path)
{
    if (!m_ofn.lpstrFile || m_ofn.nMaxFile == 0)
        return;
    const std::size_t count = std::min<std::size_t>(path.size(), m_ofn.nMaxFile - 1);
    std::memcpy(m_ofn.lpstrFile, path.data(), count);
    m_ofn.lpstrFile[count] = '\0';
}

QStringList CFileDialog::GetNameFilters() const
{
    return ParseFilterString(m_ofn.lpstrFilter);
}

INT_PTR CFileDialog::RunQtDialog()
{
    // Without an owner the dialog is modal over the application's active window, as
    // Windows makes it modal over the main window.
    CQtFileDialog dialog(m_parent ? m_parent : QApplication::activeWindow(), m_ofn.Flags);
    // Qt's own dialog behaves the same on every desktop and lets accept() check.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(QString::fromLocal8Bit(m_ofn.lpstrTitle ? m_ofn.lpstrTitle : ""));
    dialog.setNameFilters(GetNameFilters());
    if (m_ofn.lpstrInitialDir && *m_ofn.lpstrInitialDir)
        dialog.setDirectory(QString::fromLocal8Bit(m_ofn.lpstrInitialDir));
    if (m_openFileDialog) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((m_ofn.Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_ofn.Flags & OFN_OVERWRITEPROMPT));
        if (m_ofn.lpstrDefExt)
            dialog.setDefaultSuffix(QString::fromLocal8Bit(m_ofn.lpstrDefExt));
    }
    if (m_ofn.lpstrFile && *m_ofn.lpstrFile)
        dialog.selectFile(QString::fromLocal8Bit(m_ofn.lpstrFile));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    SetPathName(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toLocal8Bit().toStdString());
    return IDOK;
}
