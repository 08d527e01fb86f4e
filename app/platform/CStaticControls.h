#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QRect>

// A group box drawn as Windows draws one: its frame starts half a text line below
// the top of the control, so that boxes placed edge to edge in a template stay apart.
class CGroupBox : public QGroupBox {
public:
    explicit CGroupBox(const QString& title, QWidget* parent = nullptr) : QGroupBox(title, parent) {}

    // Where the frame is drawn, in the parent's coordinates.
    QRect FrameGeometry() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A centred single-line static text. Where Windows would clip a text wider than
// the control at both ends, this one widens about its centre (never below the
// template's width), so that long figures stay readable.
class CCentredText : public QLabel {
public:
    explicit CCentredText(QWidget* parent = nullptr) : QLabel(parent) {}

    void SetTemplateGeometry(const QRect& rect);
    void SetText(const QString& text);

private:
    QRect m_templateRect;
};
