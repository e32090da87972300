// IdmlStylesWriter: Resources/Styles.xml, the paragraph, character, cell, table and object styles.
//
// Every document has the root styles a layout program keeps under fixed names:
// "[No paragraph style]" and "[Basic Paragraph]" (based on it), "[No character style]",
// "[None]" cell style, "[No table style]" and "[Basic Table]", and the object styles "[None]",
// "[Normal Graphics Frame]" and "[Normal Text Frame]".
// The document's paragraph and character styles follow in its order (ids: IdmlCatalog), each
// with its attributes (IdmlTextAttributes), the style it is based on and, for paragraph
// styles, the next style (itself when it names none). A style based on no style is based on
// the root style, written by name as InDesign writes it (<BasedOn type="string">$ID/[No
// paragraph style]</BasedOn>); others refer to their parent's Self. The document's
// "[No paragraph style]" adds its attributes to the built-in defaults, and its
// "[Basic Paragraph]" is the built-in one.
#pragma once

class IdmlContext;

class IdmlStylesWriter {
public:
    static void Write(IdmlContext& context);
};
