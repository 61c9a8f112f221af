// SPDX-License-Identifier: GPL-3.0-or-later
// Child of the start-up benchmark: floor B, the program's own window and start-up path
// without its charts. The form is built from the stored form with a plain, empty widget
// in each chart's place (FloorForm.cmake), so it has the same controls, captions, fonts
// and font substitutions, and none of the chart code is linked in.
#include "FirstFrame.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "ui_Unit1.h" // the stored form, charts replaced

FIRST_FRAME_WATCHER

class TForm1 : public TCustomForm, public Ui::TForm1 {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr)
        : TCustomForm(parent)
    {
        setupUi(this);
        ApplyStoredForm();
    }

public slots:
    // The stored bindings need their handlers; none runs before the first frame but
    // FormCreate, which the program's own empties the already empty fields with.
    void TabSheet1ContextPopup(const QPoint&) { }
    void Exit1Click() { }
    void Button1Click() { }
    void N1Click() { }
    void N2Click() { }
    void FormCreate()
    {
        HandleEvent([&] {
            Edit1->setText(QString());
            Edit2->setText(QString());
            Edit3->setText(QString());
            Edit4->setText(QString());
        });
    }
};

namespace {
TForm1* Form1 = nullptr;
}

int main(int argc, char* argv[]) { return TApplication::RunProgram(argc, argv, Form1); }

#include "StartupFloor.moc"
