// IMifParser: reads a whole MIF file into a tree of MifObjects.
//
// Errors never stop the parse: each goes to the IMifErrorLog of the parser's own object with its
// line number, the faulty statement is skipped or left with an empty value, and reading goes on.
#pragma once

#include "IPMStream.h"
#include "IPMUnknown.h"

#include "base/TesselID.h"
#include "mif/MifPropVal.h"

class IMifStatementVisitor;
class MifObject;

class IMifParser : public IPMUnknown {
public:
    enum { kDefaultIID = IID_IMIFPARSER };

    // Reads `stream` from its start to its end and returns the root (id 0), which the caller
    // owns; never null for an open stream, however many errors were found. Null for no stream.
    virtual MifObject* Parse(IPMStream* stream) = 0;
    // Reads up to and including the next statement's keyword. Returns its id and sets `type` to
    // its value kind; 0 at the end of a statement list (or of the file); -1 for an unknown keyword.
    virtual int32 ReadStatementHeader(int32& type) = 0;
    // Reads the value of the statement just opened, by `type`, and its closing '>'.
    virtual void ReadPropVal(MifPropVal& value, int32 type) = 0;
    // The current line, counting from 1.
    virtual int32 GetLine() const = 0;
    // Skips the rest of the current statement, nested statements included.
    virtual void SkipStatement() = 0;
    // The MIF version that strings are decoded for (5.5 until the file's MIFFile statement).
    virtual void SetVersion(double version) = 0;
    // Sets the unit of lengths written without one, from a Units value word (kMifUin, ...).
    virtual void SetUnits(int32 keyword) = 0;
    // Receives the CharUnits value word; nothing read later depends on it.
    virtual void SetCharUnits(int32 keyword) = 0;
    // A value kept for the caller; -1 after Parse starts. The parser never reads it.
    virtual void SetClientData(int32 value) = 0;
    virtual int32 GetClientData() const = 0;
    // Reads `stream` as Parse does, but hands every statement to `visitor` as soon as it is read
    // and keeps only those that the visitor keeps; what it keeps is freed at the end. Memory then
    // follows what is kept rather than the size of the file. Nothing happens for no stream.
    virtual void Scan(IPMStream* stream, IMifStatementVisitor& visitor) = 0;
};
