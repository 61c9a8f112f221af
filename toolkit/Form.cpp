// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/Form.h"

#include "toolkit/Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusFrame>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextLayout>
#include <QValidator>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// Whether a control paints every pixel of its area itself, so that nothing its parent
// paints beneath it shows: Qt leaves such controls out of the parent's paints.
bool PaintsItsWholeArea(const QWidget* widget)
{
    if (widget->testAttribute(Qt::WA_TranslucentBackground))
        return false;
    return widget->testAttribute(Qt::WA_OpaquePaintEvent)
        || (widget->autoFillBackground()
            && widget->palette().brush(widget->backgroundRole()).isOpaque());
}

// The part of `widget` that its shown child controls (and theirs, through controls that
// let their parent show through) cover with their own paint, in its coordinates.
QRegion OpaqueChildren(const QWidget* widget)
{
    QRegion covered;
    for (const QObject* object : widget->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (!child || child->isWindow() || child->isHidden())
            continue;
        QRegion area(child->rect());
        if (!child->mask().isEmpty())
            area &= child->mask();
        if (!PaintsItsWholeArea(child))
            area &= OpaqueChildren(child);
        covered += area.translated(child->pos());
    }
    return covered & widget->rect();
}

QEvent::Type CommandEndEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

} // namespace

TCanvas::TCanvas(QWidget* surface)
    : QObject(surface)
    , surface_(surface)
{
    surface_->installEventFilter(this);
}

void TCanvas::MoveTo(int x, int y) { position_ = QPoint(x, y); }

void TCanvas::LineTo(int x, int y)
{
    if (!commandOpen_) {
        // A new command: what the earlier ones left unpainted is not kept for ever. The
        // posted event ends the command once control is back in the event loop.
        commandOpen_ = true;
        pending_.clear();
        QCoreApplication::postEvent(this, new QEvent(CommandEndEvent()), Qt::HighEventPriority);
    }
    const QPoint to(x, y);
    QPen pen(Pen.Color(), Pen.Width());
    pen.setCapStyle(Qt::FlatCap);
    // Every pixel the pen can touch, with a pixel to spare for rounding, less what the
    // controls over it paint.
    const int margin = Pen.Width() + 1;
    const QRect bounds
        = QRect(position_, to).normalized().adjusted(-margin, -margin, margin, margin);
    const QRegion paintable = QRegion(bounds) - OpaqueChildren(surface_);
    if (!paintable.isEmpty()) {
        pending_.push_back({ position_, to, pen, paintable });
        surface_->update(paintable);
    }
    position_ = to;
}

void TCanvas::DropCovered()
{
    if (pending_.empty())
        return;
    const QRegion covered = OpaqueChildren(surface_);
    for (Line& line : pending_)
        line.unpainted -= covered;
    std::erase_if(pending_, [](const Line& line) { return line.unpainted.isEmpty(); });
}

bool TCanvas::event(QEvent* event)
{
    if (event->type() == CommandEndEvent()) {
        commandOpen_ = false;
        return true;
    }
    return QObject::event(event);
}

bool TCanvas::eventFilter(QObject* watched, QEvent* event)
{
    // Painting is only allowed while the surface paints itself, so the lines are drawn
    // here, before the surface's own paint handler and before its children. A paint
    // covers only part of the surface: each line is drawn where this paint covers it,
    // and stays pending for the part it does not cover until a later paint does, unless
    // a control has come over that part in the meantime.
    if (watched == surface_ && event->type() == QEvent::Paint && !pending_.empty()) {
        const QRegion painted = static_cast<QPaintEvent*>(event)->region();
        QPainter painter(surface_);
        for (Line& line : pending_) {
            const QRegion part = line.unpainted.intersected(painted);
            if (part.isEmpty())
                continue;
            painter.setClipRegion(part);
            painter.setPen(line.pen);
            painter.drawLine(line.from, line.to);
            line.unpainted -= painted;
        }
        painter.end();
        DropCovered();
    }
    return QObject::eventFilter(watched, event);
}

namespace {
void ApplyStoredFont(QWidget* widget);
} // namespace

// While the stored form is read (between the form's construction and ApplyStoredForm),
// every font it sets takes its installed family and stored height at once. Controls
// measure their texts as they are made (a field its line height, the tab bar its
// captions), and each font asked for by another name or height is one more font opened
// and matched against every installed font; so the controls measure with their final
// fonts only.
class TStoredFontReader : public QObject {
public:
    explicit TStoredFontReader(QWidget* form)
        : form_(form)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool fontSet = event->type() == QEvent::FontChange
            || (event->type() == QEvent::DynamicPropertyChange
                && static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName()
                    == "fontHeight");
        if (fontSet && !applying_ && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == form_ || form_->isAncestorOf(widget)) {
                applying_ = true;
                ApplyStoredFont(widget);
                applying_ = false;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* form_;
    bool applying_ = false;
};

TCustomForm::TCustomForm(QWidget* parent)
    : QMainWindow(parent)
{
    if (QCoreApplication::instance())
        fontReader_ = new TStoredFontReader(this);
}

TCustomForm::~TCustomForm()
{
    // The controls go one by one with the window's children, and a control that still
    // has focus loses it in its own destructor, when siblings before it are gone already
    // (the focus frame among them: it places itself just before the control it follows).
    // That happens when the window closes before its deactivation reaches it, as after a
    // dismissed report, whose activation focused the first list. Take the focus away
    // while every control is whole, and stop following it, before any of them goes.
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focused->clearFocus();
    delete fontReader_;
    fontReader_ = nullptr;
    delete focusFollower_;
    focusFollower_ = nullptr;
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

// The stored form names its fonts as the design platform does ("ＭＳ Ｐゴシック"). Qt
// looks such a name up, misses it and has fontconfig sort the fonts for its fallbacks,
// once per script and text, before it takes the substitute. A control that has its own
// font gets the installed family instead, which shows the same glyphs without those
// sorts; the stored name stays with it ("fontName", see StoredFontName). Its stored
// character height ("fontHeight") is set in the same step.
void ApplyStoredFont(QWidget* widget)
{
    QFont font = widget->font();
    bool changed = false;
    if (widget->testAttribute(Qt::WA_SetFont)) {
        const QString name = font.family();
        const QString installed = InstalledFontFamily(name);
        if (installed != name) {
            widget->setProperty("fontName", name);
            font.setFamily(installed);
            changed = true;
        }
    }
    if (const QVariant height = widget->property("fontHeight"); height.isValid()) {
        font.setPixelSize(std::abs(height.toInt()));
        changed = true;
    }
    if (changed)
        widget->setFont(font);
}

// Narrows a control's font just enough that a text `needed` wide takes no more than
// `available`; never below half its width.
void NarrowFontToFit(QWidget* widget, qreal needed, qreal available)
{
    if (needed <= available || needed <= 0)
        return;
    QFont font = widget->font();
    font.setStretch(std::max(50, static_cast<int>(available * 100 / needed)));
    widget->setFont(font);
}

// A label keeps its stored size. Where the installed substitute of the design font is
// wider than the design font was, the caption would be cut off at the label's edge;
// narrow the font just enough that the whole caption fits instead.
void FitCaption(QLabel* label)
{
    NarrowFontToFit(
        label, QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width() - 1);
}

// The lists show numbers. A number broken across two rows reads as two numbers ("3.4e-2"
// over "2"), so where the longest texts FloatToStr gives (17 digits and a three-digit
// exponent, or 17 digits after four zeros) would not fit on one row of the list, narrow
// its font just enough that they do. Longer lines still wrap.
// The width of `text` on one row, laid out as the list lays out its lines: with the
// fonts that actually draw each character, where the list's font lacks some of them.
qreal RowWidth(QPlainTextEdit* list, const QString& text)
{
    QTextLayout layout(text, list->font());
    layout.setTextOption(list->document()->defaultTextOption());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setNumColumns(static_cast<int>(text.size()));
    layout.endLayout();
    return line.naturalTextWidth();
}

void FitNumbers(QPlainTextEdit* list)
{
    QChar widest = QLatin1Char('0');
    qreal widestRun = RowWidth(list, QString(10, widest));
    for (char16_t d = u'1'; d <= u'9'; ++d) {
        if (const qreal run = RowWidth(list, QString(10, QChar(d))); run > widestRun) {
            widest = QChar(d);
            widestRun = run;
        }
    }
    const qreal needed = std::max(
        RowWidth(list,
            QStringLiteral("-%1.%2e-%3").arg(widest).arg(QString(16, widest), QString(3, widest))),
        RowWidth(list, QStringLiteral("-0.000") + QString(17, widest)));
    // The width a row has: the viewport (beside the scroll bar, inside the frame) less
    // the document's margins and a pixel for the caret.
    const int scrollBar = list->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
        ? 0
        : list->verticalScrollBar()->sizeHint().width();
    NarrowFontToFit(list, needed,
        list->width() - 2 * list->frameWidth() - scrollBar - 2 * list->document()->documentMargin()
            - 1);
}

// A text list shows keyboard focus only by its caret, which blinks and is a single pixel
// wide. A frame drawn around the focused list, outside its own area, makes focus plain
// without changing the list's size or the width its lines wrap at.
class TFocusFrameFollower : public QObject {
public:
    explicit TFocusFrameFollower(QWidget* window)
        : QObject(window)
        , frame_(new QFocusFrame(window))
    {
    }
    // The frame lives among the window's controls, next to the one it follows, and may
    // go before this follower does.
    ~TFocusFrameFollower() override { delete frame_; }
    TFocusFrameFollower(const TFocusFrameFollower&) = delete;
    TFocusFrameFollower& operator=(const TFocusFrameFollower&) = delete;
    void Watch(QWidget* widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!frame_)
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::FocusIn)
            frame_->setWidget(static_cast<QWidget*>(watched));
        else if (event->type() == QEvent::FocusOut && frame_->widget() == watched)
            frame_->setWidget(nullptr);
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QFocusFrame> frame_;
};

// Keeps a field's text within its stored maximum length, and refuses whole what would go
// beyond it: a paste, a drop or a keystroke that would make the text longer leaves the
// field as it was, and the user is told so. The field itself takes one character more
// than the bound, so that such an edit reaches the check with that one character too
// many (and no more: a long paste's text is never laid out, nor kept in the field's
// undo history) instead of being cut to fit.
class TLengthGuard : public QValidator {
public:
    TLengthGuard(QLineEdit* field, int bound)
        : QValidator(field)
        , field_(field)
        , bound_(bound)
    {
        field->setMaxLength(bound + 1);
        field->setValidator(this);
    }

    State validate(QString& text, int& /*position*/) const override
    {
        if (text.size() <= bound_)
            return Acceptable;
        // Shown once the refused edit is undone, through the window's error report.
        if (!reportPosted_) {
            reportPosted_ = true;
            auto* self = const_cast<TLengthGuard*>(this);
            QMetaObject::invokeMethod(
                self, [self] { self->Report(); }, Qt::QueuedConnection);
        }
        return Invalid;
    }

private:
    void Report()
    {
        reportPosted_ = false;
        const QString name = field_->accessibleName().isEmpty()
            ? QStringLiteral("この")
            : QStringLiteral("「%1」の").arg(field_->accessibleName());
        const QString message
            = QStringLiteral("%1欄には %2 文字までしか入りません。それを超える貼り付けや入力は"
                             "受け付けませんでした。欄の内容は元のままです。")
                  .arg(name)
                  .arg(bound_);
        HandleEvent([&] { throw Exception(message.toStdString()); });
    }

    QLineEdit* field_;
    int bound_;
    mutable bool reportPosted_ = false;
};

} // namespace

void TCustomForm::ApplyStoredForm()
{
    delete fontReader_;
    fontReader_ = nullptr;
    // A parent comes before its children, which may take its font.
    ApplyStoredFont(this);
    for (QWidget* child : findChildren<QWidget*>())
        ApplyStoredFont(child);
    for (QLabel* label : findChildren<QLabel*>())
        FitCaption(label);
    // A field's stored maximum length is a bound it keeps, not a point to cut at.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        if (field->maxLength() < std::numeric_limits<int>::max())
            new TLengthGuard(field, field->maxLength());
    auto* follower = new TFocusFrameFollower(this);
    focusFollower_ = follower;
    for (QPlainTextEdit* list : findChildren<QPlainTextEdit*>()) {
        follower->Watch(list);
        // Numbers need no text shaping (no kerning, no ligatures in these fonts): the
        // lists look the same without it and lay out their lines a sixth faster.
        // Scripts that need shaping still get it.
        QFont font = list->font();
        font.setStyleStrategy(QFont::PreferNoShaping);
        list->setFont(font);
        FitNumbers(list);
    }

    const int clientWidth = property("ClientWidth").toInt();
    const int clientHeight = property("ClientHeight").toInt();
    if (clientWidth > 0 && clientHeight > 0) {
        const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
        resize(clientWidth, clientHeight + menuHeight);
    }
    const QVariant left = property("Left");
    const QVariant top = property("Top");
    if (left.isValid() && top.isValid()) {
        // The window manager's frame is not known before the window is shown; judge the
        // fit by the frame of the design platform: 4 px round a sizeable window and a
        // 19 px caption.
        const QMargins designFrame(4, 23, 4, 4);
        const QRect frame(QPoint(left.toInt(), top.toInt()), size().grownBy(designFrame));
        const QScreen* target = QGuiApplication::screenAt(frame.topLeft());
        if (!target)
            target = screen();
        move(target ? PlaceOnScreen(frame, target->availableGeometry()) : frame.topLeft());
    }
}

QString StoredFontName(const QWidget* widget)
{
    // A control whose family is its parent's took its font from there.
    const QWidget* owner = widget;
    while (!owner->property("fontName").isValid() && !owner->isWindow() && owner->parentWidget()
        && owner->parentWidget()->font().family() == owner->font().family())
        owner = owner->parentWidget();
    const QVariant name = owner->property("fontName");
    return name.isValid() ? name.toString() : owner->font().family();
}

QPoint PlaceOnScreen(const QRect& frame, const QRect& available)
{
    auto place = [](int start, int length, int areaStart, int areaLength) {
        const int end = areaStart + areaLength;
        if (start + length > end)
            start = end - length;
        return std::max(start, areaStart);
    };
    return { place(frame.x(), frame.width(), available.x(), available.width()),
        place(frame.y(), frame.height(), available.y(), available.height()) };
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
        if (first >= lines.size())
            return;
        // The list lays out only the lines in view now, the others as they scroll into
        // view; a list that showed its end shows its new end.
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
