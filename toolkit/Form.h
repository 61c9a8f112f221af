// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every window: a QMainWindow whose layout comes from its stored form, with
// a creation event, Close() and a drawing surface over its client area.
#pragma once

#include <QMainWindow>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QRegion>

#include <cstddef>
#include <vector>

class QPlainTextEdit;

// The pen of a drawing surface.
class TPen {
public:
    void SetWidth(int width) { width_ = width; }
    [[nodiscard]] int Width() const { return width_; }
    void SetColor(const QColor& color) { color_ = color; }
    [[nodiscard]] QColor Color() const { return color_; }

private:
    int width_ = 1;
    QColor color_ = Qt::black;
};

// Draws straight lines on a widget's own surface, beneath its child controls. A line is
// painted once, with the next paints of the surface that cover it, and not kept: a later
// repaint of that area no longer shows it. Where a control that paints its whole area
// (a chart) lies over the line when it is drawn or painted, no paint of the surface ever
// shows that part, and it is dropped. Only the lines of the last command wait for their
// paint: a command that draws drops what earlier ones left unpainted.
class TCanvas : public QObject {
public:
    explicit TCanvas(QWidget* surface);

    TPen Pen;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    // The lines still waiting for a paint.
    [[nodiscard]] std::size_t PendingLines() const { return pending_.size(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Line {
        QPoint from, to;
        QPen pen;
        QRegion unpainted; // where no paint of the surface has drawn the line yet
    };
    // Drops the parts of the lines that controls painting their whole area now cover,
    // and the lines with nothing left to paint.
    void DropCovered();

    QWidget* surface_;
    QPoint position_;
    std::vector<Line> pending_;
    bool commandOpen_ = false; // lines drawn since the last return to the event loop
};

class TStoredFontReader;

class TCustomForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TCustomForm(QWidget* parent = nullptr);
    ~TCustomForm() override;
    TCustomForm(const TCustomForm&) = delete;
    TCustomForm& operator=(const TCustomForm&) = delete;

    // Raises the creation event; the application calls it once the controls exist.
    void DoCreate();

    // Closes the window; for the main window this ends the message loop.
    void Close();

    // The drawing surface over the client area (below the menu bar), in client
    // coordinates.
    TCanvas& GetCanvas();

signals:
    void created();

protected:
    // Applies what the stored form keeps as dynamic properties: the window's place
    // ("Left", "Top"; moved with PlaceOnScreen where the window would not fit the
    // screen), its client size ("ClientWidth", "ClientHeight", below the menu bar), and
    // character heights in pixels ("fontHeight", negative as stored) of the window and
    // of any control that has its own font; and the stored font names, each replaced by
    // the installed family it maps onto (the name itself kept: StoredFontName).
    void ApplyStoredForm();

private:
    TCanvas* canvas_ = nullptr;
    TStoredFontReader* fontReader_ = nullptr; // while the stored form is read
    QObject* focusFollower_ = nullptr;
};

// Where a window's frame goes so that it lies within the screen's available area: where
// it is when it fits; otherwise moved only as far as needed to bring it whole onto the
// area, and no further up or left than the area's top-left corner when it is larger.
QPoint PlaceOnScreen(const QRect& frame, const QRect& available);

// The font name a window or control was stored with, which need not be installed; its
// font names the installed family that shows it. A control without a font of its own
// has its window's.
QString StoredFontName(const QWidget* widget);

// A multi-line text list seen as lines: clear them, append one at the end. Appended
// lines are laid out together, not one by one: they are shown when the event handler
// that appended them ends (HandleEvent), before any error it reports, and in any case
// before the list's next paint. The list then shows exactly what appending each line
// on its own would have shown.
void ClearLines(QPlainTextEdit* list);
void AppendLine(QPlainTextEdit* list, const QString& line);
// Shows the lines appended and not yet shown, in every list.
void FlushLines();
