// CAlert: messages to the user, and the dialogs the host shows at the end of an operation. How
// they reach the user is up to the presenter that the application installs; with none they are
// dropped.
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
    static void SetPresenter(IUserPresenter* presenter);
    static IUserPresenter* GetPresenter();
};
