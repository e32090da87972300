#include "GraphicAttributes.h"

const char* LineEndName(LineEnd end) { return end == LineEnd::kSimpleArrowHead ? "SimpleArrowHead" : "None"; }

const char* TextWrapModeName(TextWrapMode mode)
{
    switch (mode) {
    case TextWrapMode::kBoundingBox: return "BoundingBoxTextWrap";
    case TextWrapMode::kContour: return "Contour";
    case TextWrapMode::kNone: break;
    }
    return "None";
}

const char* TextWrapFormName(TextWrapForm form)
{
    switch (form) {
    case TextWrapForm::kGraphicFrame: return "GraphicFrame";
    case TextWrapForm::kSameAsClipping: return "SameAsClipping";
    case TextWrapForm::kBoundingBox: break;
    }
    return "BoundingBox";
}
