// IdmlWriter: saves a document as an IDML package, the XML interchange format that InDesign
// (and other layout programs) open.
//
// The package, part by part (ids: see IdmlIds):
//   mimetype                      first and stored: the package's type
//   designmap.xml                 the document: attributes, language, numbering lists, layers,
//                                 sections, and a reference to every other part, in the order
//                                 readers need
//   META-INF/container.xml        points at designmap.xml
//   Resources/Graphic.xml         colours, inks, tints, swatches, stroke styles  (IdmlGraphicWriter)
//   Resources/Fonts.xml           font families and fonts in use           (IdmlFontsWriter)
//   Resources/Styles.xml          paragraph and character styles, and the root styles of every
//                                 kind                                     (IdmlStylesWriter)
//   Resources/Preferences.xml     page size, facing pages ...              (IdmlPreferencesWriter)
//   XML/Tags.xml, XML/BackingStory.xml   the XML structure's root          (IdmlStoryWriter)
//   MasterSpreads/*.xml, Spreads/*.xml   pages, one part per spread        (IdmlSpreadWriter)
// The ids that parts use for swatches, styles and lists come from IdmlCatalog.
// Same model in, same bytes out.
#pragma once

#include <string>

#include "IDFile.h"
#include "PMTypes.h"

class DataBase;

class IdmlWriter {
public:
    // Writes the document as the package `out`, through a temporary file in the same folder
    // that replaces `out` only when complete. Returns kSuccess, or:
    //   kInvalidParameterError  the document has no pages (no layout program holds such a
    //                           document), or `out` is empty or a folder;
    //   kFileNotFoundError      the folder for `out` does not exist;
    //   kIOWriteError           the folder is not writable, or the disk failed;
    //   kOutOfMemoryError / kFailure  the package could not be built.
    // On failure `out` is left as it was, and the global error code is set.
    static ErrorCode Write(const DataBase& db, const IDFile& out);
    // The package as bytes, for callers that keep it in memory; the same errors as Write for
    // the document itself. `*package` is empty on failure.
    static ErrorCode BuildPackage(const DataBase& db, std::string* package);
};
