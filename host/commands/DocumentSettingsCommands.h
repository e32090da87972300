// Commands that change settings of a document: its name, the text-wrap preference, sections.
#pragma once

#include "DocCommand.h"
#include "Section.h"

// Names the document of the item list.
class SetDocNameCmd : public DocCommand {
public:
    SetDocNameCmd() { SetName("Set Document Name"); }
    PMString stringData;

protected:
    ErrorCode Do() override;
    void Undo() override;

private:
    PMString mPrevious;
};

// Sets the document's "text wrap only affects text beneath" (skip by leading) preference.
class SetSkipByLeadingCmd : public DocCommand {
public:
    SetSkipByLeadingCmd() { SetName("Text Wrap Preferences"); }
    bool boolData = false;

protected:
    ErrorCode Do() override;
    void Undo() override;

private:
    bool mPrevious = false;
};

// Changes the numbering of the section of the item list.
class ModifySectionSettingsCmd : public DocCommand {
public:
    ModifySectionSettingsCmd() { SetName("Section Options"); }
    bool autoNumber = false;          // continue from the previous section
    int32 startPageNumber = 1;
    PageNumberStyle style = PageNumberStyle::kArabic;

protected:
    ErrorCode Do() override;
    void Undo() override;

private:
    Section mPrevious;
};
