// IdmlGraphicWriter: Resources/Graphic.xml, the colours, inks, swatches and stroke styles.
//
// Readers want the elements grouped in this order: Color, Ink, Tint, Swatch, Gradient,
// StrokeStyle. Every package has the swatches None, Paper, Black and Registration, the four
// process inks and the solid stroke style. After them come the document's swatches in its
// order (ids: IdmlCatalog): process and spot CMYK colors as <Color> with their values in
// percent, an <Ink> of its own for each spot color, and tints as <Tint> of their base color.
// The document's fixed swatches are the built-in ones; their values cannot change.
#pragma once

class IdmlContext;

class IdmlGraphicWriter {
public:
    static void Write(IdmlContext& context);
};
