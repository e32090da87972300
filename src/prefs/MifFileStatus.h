// MifFileStatus: how reading or writing one of the preferences' files ended (preset files, the
// font table CSV files, MIF files scanned for font hints). MifFileStatusAlert gives the text the
// user is shown for each.
#pragma once

enum class MifFileStatus {
    kDone,            // the file was read or written whole
    kCantOpen,        // the file could not be opened or read (missing, a folder, unreadable)
    kCantSave,        // the file could not be written; any file already there is unchanged
    kNotPresetFile,   // not a preset file: wrong magic, or damaged (cut short, a preset unreadable)
    kUnknownVersion,  // a preset file of another version; ignored without a message
    kNotMif,          // the file does not start as a MIF file
};
