// IdmlGraphicWriter: Resources/Graphic.xml, the colours, inks, swatches and stroke styles.
//
// Readers want the elements grouped in this order: Color, Ink, Tint, Swatch, Gradient,
// StrokeStyle. Every document has the swatches None, Paper, Black and Registration, the four
// process inks and the solid stroke style; the model's own swatches come with the swatch model.
#pragma once

class IdmlContext;

class IdmlGraphicWriter {
public:
    static void Write(IdmlContext& context);
};
