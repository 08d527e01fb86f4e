#pragma once

#include <QLineEdit>

// An edit box with ES_NUMBER: typed characters other than digits are refused, but
// pasted text goes in as it is, as on Windows.
class CNumberEdit : public QLineEdit {
public:
    explicit CNumberEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
