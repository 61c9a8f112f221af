// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: four input fields, the "計算" command, two result lists and two
// charts on two tab pages, and the menu. Layout and event bindings are stored in
// Unit1.ui; this class adds the six handlers.
#pragma once

#include "toolkit/Application.h"
#include "toolkit/Chart.h"
#include "toolkit/Form.h"
#include "ui_Unit1.h" // generated from Unit1.ui

class TForm1 : public TCustomForm, public Ui::TForm1 {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    TFastLineSeries* Series1;
    TFastLineSeries* Series2;

public slots:
    void TabSheet1ContextPopup(const QPoint& MousePos);
    void Exit1Click();
    void Button1Click();
    void N1Click();
    void N2Click();
    void FormCreate();
};

extern TForm1* Form1;
