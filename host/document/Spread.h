// Spread, MasterSpread, Page, Layer: the layout objects of a document.
#pragma once

#include <vector>

#include "DocObject.h"
#include "PMGeometry.h"
#include "PMString.h"

class Spread : public DocObject {
public:
    std::vector<UID> pages;      // left to right
    std::vector<UID> pageItems;  // back to front
    // How many of the pages lie left of the spine; a lone right page of a facing document has 0.
    int32 bindingLocation = 0;
};

class MasterSpread : public Spread {
public:
    PMString prefix;   // "A"
    PMString baseName; // "Master"; shown as "A-Master"
    UID basedOn = kInvalidUID;
    // The template of the text frames of the pages the master is applied to (InDesign's primary
    // text frame): a text frame of this master spread, or none.
    UID primaryTextFrame = kInvalidUID;
    // The name InDesign shows: prefix, a hyphen, base name.
    PMString GetName() const;
};

class Page : public DocObject {
public:
    UID spread = kInvalidUID;          // the spread or master spread that holds the page
    UID appliedMaster = kInvalidUID;   // master spread, or none
    // Where the page lies in its spread's coordinates (origin at the spine, y down); set by
    // SpreadLayout whenever the pages of the spread change.
    PMRect boundsInSpread;
    PMReal width = 612;
    PMReal height = 792;
};

class Layer : public DocObject {
public:
    PMString name;
    bool visible = true;
    bool locked = false;
};
