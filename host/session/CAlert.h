// CAlert: messages to the user, and the dialogs the host shows at the end of an operation. How
// they reach the user is up to the presenters that the application installs: while a dialog
// presenter is installed (DialogMgr) it shows every alert; otherwise the user presenter shows the
// information and warning alerts. With neither they are dropped, and a modal alert answers its
// default button.
#pragma once

#include <vector>

#include "PMString.h"

class IUserPresenter {
public:
    virtual ~IUserPresenter() = default;
    // An information or warning alert (translated text).
    virtual void Alert(const PMString& text, bool warning) = 0;
    // The warnings dialog shown after an import: the problems found, as text.
    virtual void Warnings(const PMString& text) = 0;
    // The map-fonts dialog: the fonts a document uses that the system lacks.
    virtual void MissingFonts(const std::vector<PMString>& fonts) = 0;
};

class CAlert {
public:
    static void InformationAlert(const PMString& text);
    static void WarningAlert(const PMString& text);
    static void ErrorAlert(const PMString& text);
    // A modal alert with buttons (string keys or texts); the index of the button chosen.
    static int32 ModalAlert(const PMString& text, const std::vector<PMString>& buttons, int32 defaultButton);
    static void SetPresenter(IUserPresenter* presenter);
    static IUserPresenter* GetPresenter();
};
