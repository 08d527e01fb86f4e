#pragma once

#include "CScriptedHost.h"
#include "GridlarkDlg.h"
#include "Resource.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

inline const char* const kInstructions =
    "Enter grid values (from 1 - 9) or load them from a grid file.  Save, Solve or Reset (to clear all values "
    "to blank).  See Help for more instructions.";

using GridText = std::array<std::array<std::string, 9>, 9>;

// A main dialog created and shown (offscreen), with a scripted modal host.
class DialogFixture : public testing::Test {
protected:
    void SetUp() override
    {
        dlg = std::make_unique<CGridlarkDlg>();
        dlg->Create();
        dlg->show();
        host.watched = dlg.get();
    }

    void TearDown() override
    {
        if (!dlg->IsDestroyed())
            dlg->OnQuit();
    }

    QWidget* item(int id) { return dlg->GetDlgItem(id)->GetSafeHwnd(); }
    QLineEdit* box(int row, int col) { return static_cast<QLineEdit*>(item(CellBoxId(row, col))); }
    std::string text(int id) { return static_cast<QLabel*>(item(id))->text().toStdString(); }
    std::string message() { return text(IDC_MESSAGES); }
    std::string figures() { return text(IDC_FIGURES); }
    bool enabled(int id) { return item(id)->isEnabled(); }

    // Pasted or typed text, unfiltered.
    void put(int row, int col, const char* value) { box(row, col)->setText(QString::fromLatin1(value)); }

    GridText grid()
    {
        GridText g;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                g[r][c] = box(r, c)->text().toStdString();
        return g;
    }

    void putRow(int row, const char* digits)
    {
        for (int c = 0; c < 9; ++c) {
            const char value[2] = {digits[c] == '0' ? '\0' : digits[c], '\0'};
            put(row, c, value);
        }
    }

    CScriptedHost host;
    std::unique_ptr<CGridlarkDlg> dlg;
};
