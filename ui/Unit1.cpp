// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Unit1.h"

#include "calc/CapacitanceSweep.h"
#include "toolkit/Convert.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent)
    : TCustomForm(parent)
{
    setupUi(this);
    ApplyStoredForm();
    Series1 = Chart1->GetSeries(0);
    Series2 = Chart2->GetSeries(0);
}

void TForm1::FormCreate()
{
    HandleEvent([&] {
        Edit1->setText(QString());
        Edit2->setText(QString());
        Edit3->setText(QString());
        Edit4->setText(QString());
    });
}

void TForm1::Button1Click()
{
    HandleEvent([&] {
        Chart1->GetSeries(0)->Clear();
        Chart2->GetSeries(0)->Clear();
        ClearLines(Memo1);
        ClearLines(Memo2);

        TJunctionInput input {};
        input.Nd = StrToFloat(Edit1->text());
        input.EpsS = StrToFloat(Edit2->text());
        input.Vd = StrToFloat(Edit3->text());
        input.S = StrToFloat(Edit4->text());

        SweepCV(input, [&](const TCVPoint& p) {
            AppendLine(Memo1, FloatToStr(p.C));
            Chart1->GetSeries(0)->AddXY(p.V, p.C, QString(), DefaultSeriesColor);
            AppendLine(Memo2, FloatToStr(p.InvC2));
            Chart2->GetSeries(0)->AddXY(p.V, p.InvC2, QString(), DefaultSeriesColor);
        });
    });
}

void TForm1::N2Click()
{
    HandleEvent([&] {
        Edit1->setText(QStringLiteral("10e-17"));
        Edit2->setText(QStringLiteral("10"));
        Edit3->setText(QStringLiteral("0.4"));
        Edit4->setText(QStringLiteral("10"));
    });
}

void TForm1::N1Click()
{
    HandleEvent([&] {
        Chart1->GetSeries(0)->Clear();
        Chart2->GetSeries(0)->Clear();
        Edit1->setText(QString());
        Edit2->setText(QString());
        Edit3->setText(QString());
        Edit4->setText(QString());
        ClearLines(Memo1);
        ClearLines(Memo2);
    });
}

void TForm1::Exit1Click()
{
    HandleEvent([&] { Close(); });
}

void TForm1::TabSheet1ContextPopup(const QPoint& /*MousePos*/)
{
    HandleEvent([&] {
        TCanvas& canvas = GetCanvas();
        canvas.Pen.SetWidth(2);
        canvas.MoveTo(10, 300);
        canvas.LineTo(250, 300);
    });
}
