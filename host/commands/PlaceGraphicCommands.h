// The commands that place a graphic file in a new frame and embed a placed graphic's file.
#pragma once

#include "DocCommand.h"
#include "IDFile.h"
#include "PMGeometry.h"

// Makes a rectangular graphic frame on the spread of the item list, in front of its other items,
// with the graphic of `file` in it, scaled to fill the frame; afterwards the item list holds the
// frame. Fails, making nothing, with kFileNotFoundError when the file does not exist or is no
// regular file (a folder, a device), kIOReadError when it cannot be read, and kFailure when it
// holds no graphic the host places (TIFF, JPEG, PNG, GIF, BMP, PICT, EPS, PDF).
class ImportAndPlaceCmd : public DocCommand {
public:
    ImportAndPlaceCmd() { SetName("Place"); }
    IDFile file;
    UID layer = kInvalidUID;   // a layer of the document, or none (the frontmost)
    PMRect bounds;             // the frame in spread coordinates; width and height above 0
    // False: the file is not opened (its kind is told by its name's extension: .eps, .pdf,
    // else an image), for files the document may link to but nobody asked to be read.
    bool readFile = true;
    UID placed = kInvalidUID;  // after Do: the PlacedGraphic in the frame

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};

// Embeds the file of the PlacedGraphic of the item list (or of the frame that shows one): its
// bytes are kept in the document, so the document no longer needs the file. With `boolData`
// false the graphic is linked again instead, and its bytes dropped. Fails with kIOReadError,
// changing nothing, when the file cannot be read.
class MoveLinkCmd : public DocCommand {
public:
    MoveLinkCmd() { SetName("Embed Link"); }
    bool boolData = true;

protected:
    ErrorCode Do() override;
    bool IsUndoable() const override { return false; }
};
