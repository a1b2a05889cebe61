// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: a fixed-size dialog that names the program and its version, describes it and
// offers up to three web links. The main window fills in its texts for the current language
// and shows it modally at start-up and on request; the box itself only decides whether the
// home-page link is shown.

#include "platform/Component.h"

#include <QDialog>

class TBitBtn;
class TLabel;
class TPanel;
class TUrlLab;

class TFrmAbout : public QDialog, public ZelComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    // The designed client area.
    static constexpr int ClientWidth = 543;
    static constexpr int ClientHeight = 332;

    explicit TFrmAbout(QWidget *parent = nullptr);
    ~TFrmAbout() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }

    // Runs each time the box is shown. A home-page link whose caption is empty or the bare
    // "HomePage" (its key without a translation) is hidden, and the two fixed links move down
    // to centre the pair in their panel; later showings keep that layout.
    void FormShow();
    // Closes the box, ending its modal display.
    void BButOKClick();

    TPanel *Panel1 = nullptr;
    TLabel *LblName = nullptr;
    TLabel *LblVersion = nullptr;
    TLabel *LblAuthor = nullptr;
    TLabel *LblCopyright = nullptr;
    TLabel *LblDescription = nullptr;
    TPanel *Panel2 = nullptr;
    TLabel *LblWebSite = nullptr;
    TUrlLab *UrlLabZelSuite = nullptr;
    TUrlLab *UrlLabSimulations = nullptr;
    TUrlLab *UrlLabHomepage = nullptr;
    TBitBtn *BButOK = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
};

// The program's About box, set when the entry creates it.
extern TFrmAbout *FrmAbout;
