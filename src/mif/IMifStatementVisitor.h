// IMifStatementVisitor: sees each statement of a MIF file as the parser finishes it, and decides
// whether the statement stays in the tree.
//
// A reader that needs only a few statements of a large file (the font hints of the preferences)
// takes them as they pass and keeps nothing, so that the file never stands in memory as a whole
// tree (IMifParser::Scan).
#pragma once

class MifObject;
class MifProp;

class IMifStatementVisitor {
public:
    virtual ~IMifStatementVisitor() = default;
    // Called for every statement once its value, or its whole body, has been read, so the
    // statements inside a container come before the container itself. `body` is the container
    // being read (id 0 for the file itself) and holds only the statements kept so far. Answers
    // whether `statement` is kept in `body`; a statement not kept is freed at once.
    virtual bool Visit(const MifObject& body, const MifProp& statement) = 0;
};
