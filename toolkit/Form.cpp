#include "toolkit/Form.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>

#include <algorithm>
#include <cstdlib>

TCanvas::TCanvas(QWidget* surface)
    : QObject(surface)
    , surface_(surface)
{
    surface_->installEventFilter(this);
}

void TCanvas::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void TCanvas::LineTo(int x, int y)
{
    const QPoint to(x, y);
    QPen pen(Pen.Color(), Pen.Width());
    pen.setCapStyle(Qt::FlatCap);
    pending_.push_back({ position_, to, pen });
    const int margin = Pen.Width() + 1;
    surface_->update(QRect(position_, to).normalized().adjusted(-margin, -margin, margin, margin));
    position_ = to;
}

bool TCanvas::eventFilter(QObject* watched, QEvent* event)
{
    // Painting is only allowed while the surface paints itself, so the lines are drawn
    // here, before the surface's own paint handler and before its children.
    if (watched == surface_ && event->type() == QEvent::Paint && !pending_.empty()) {
        QPainter painter(surface_);
        for (const Line& line : pending_) {
            painter.setPen(line.pen);
            painter.drawLine(line.from, line.to);
        }
        pending_.clear();
    }
    return QObject::eventFilter(watched, event);
}

TCustomForm::TCustomForm(QWidget* parent)
    : QMainWindow(parent)
{
}

void TCustomForm::DoCreate() { emit created(); }

void TCustomForm::Close() { close(); }

TCanvas& TCustomForm::GetCanvas()
{
    if (!canvas_)
        canvas_ = new TCanvas(centralWidget() ? centralWidget() : this);
    return *canvas_;
}

namespace {

void ApplyFontHeight(QWidget* widget)
{
    const QVariant height = widget->property("fontHeight");
    if (!height.isValid())
        return;
    QFont font = widget->font();
    font.setPixelSize(std::abs(height.toInt()));
    widget->setFont(font);
}

// A label keeps its stored size. Where the installed substitute of the design font is
// wider than the design font was, the caption would be cut off at the label's edge;
// narrow the font just enough that the whole caption fits instead.
void FitCaption(QLabel* label)
{
    QFont font = label->font();
    const int available = label->width() - 1;
    const int needed = QFontMetrics(font).horizontalAdvance(label->text());
    if (needed <= available || needed <= 0)
        return;
    font.setStretch(std::max(50, available * 100 / needed));
    label->setFont(font);
}

} // namespace

void TCustomForm::ApplyStoredForm()
{
    ApplyFontHeight(this);
    for (QWidget* child : findChildren<QWidget*>())
        ApplyFontHeight(child);
    for (QLabel* label : findChildren<QLabel*>())
        FitCaption(label);

    const int clientWidth = property("ClientWidth").toInt();
    const int clientHeight = property("ClientHeight").toInt();
    if (clientWidth > 0 && clientHeight > 0) {
        const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
        resize(clientWidth, clientHeight + menuHeight);
    }
    const QVariant left = property("Left");
    const QVariant top = property("Top");
    if (left.isValid() && top.isValid())
        move(left.toInt(), top.toInt());
}

namespace {

// The lines appended to lists and not shown yet. One per application (a child of the
// application object), so that the windows' own object trees stay as stored.
class TPendingLines : public QObject {
public:
    static TPendingLines& Instance()
    {
        static QPointer<TPendingLines> instance;
        if (!instance)
            instance = new TPendingLines(QCoreApplication::instance());
        return *instance;
    }

    void Append(QPlainTextEdit* list, const QString& line)
    {
        if (!flushPosted_) {
            flushPosted_ = true;
            // Outside an event handler nobody flushes: the posted event does, ahead of
            // the paint request (a low-priority event) that would show the lines.
            QCoreApplication::postEvent(this, new QEvent(FlushEvent()), Qt::HighEventPriority);
        }
        EntryOf(list).lines.append(line);
    }

    // Lines appended before a clear are cleared with the rest.
    void Drop(QPlainTextEdit* list)
    {
        std::erase_if(entries_, [&](const Entry& e) { return e.list == list; });
    }

    void FlushAll()
    {
        std::vector<Entry> entries;
        entries.swap(entries_);
        for (Entry& entry : entries)
            if (entry.list)
                Flush(entry.list, entry.lines);
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == FlushEvent()) {
            flushPosted_ = false;
            FlushAll();
            return true;
        }
        return QObject::event(event);
    }

private:
    struct Entry {
        QPointer<QPlainTextEdit> list;
        QStringList lines;
    };

    using QObject::QObject;

    static QEvent::Type FlushEvent()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    Entry& EntryOf(QPlainTextEdit* list)
    {
        for (Entry& entry : entries_)
            if (entry.list == list)
                return entry;
        return entries_.emplace_back(Entry { list, {} });
    }

    // One append for all the lines. Appending a line to a list without any text puts
    // it into the list's empty first line, so empty lines appended there leave no
    // trace; and the lines are joined with a paragraph separator, which no two lines
    // can merge across (a line ending in CR and the next starting with LF stay two).
    static void Flush(QPlainTextEdit* list, const QStringList& lines)
    {
        qsizetype first = 0;
        if (list->document()->isEmpty())
            while (first < lines.size() && lines[first].isEmpty())
                ++first;
        if (first < lines.size())
            list->appendPlainText(lines.sliced(first).join(QChar::ParagraphSeparator));
    }

    std::vector<Entry> entries_;
    bool flushPosted_ = false;
};

} // namespace

void ClearLines(QPlainTextEdit* list)
{
    TPendingLines::Instance().Drop(list);
    list->clear();
}

void AppendLine(QPlainTextEdit* list, const QString& line)
{
    TPendingLines::Instance().Append(list, line);
}

void FlushLines() { TPendingLines::Instance().FlushAll(); }
