// IdmlStylesWriter: Resources/Styles.xml, the paragraph, character, cell, table and object styles.
//
// Every document has the root styles a layout program keeps under fixed names:
// "[No paragraph style]" and "[Basic Paragraph]" (based on it), "[No character style]",
// "[None]" cell style, "[No table style]" and "[Basic Table]", and the object styles "[None]",
// "[Normal Graphics Frame]" and "[Normal Text Frame]". The model's own styles come with the
// style model and hang under the same root groups.
#pragma once

class IdmlContext;

class IdmlStylesWriter {
public:
    static void Write(IdmlContext& context);
};
