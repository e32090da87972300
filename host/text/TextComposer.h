// TextComposer: lays a story's text into the columns of its threaded frames.
//
// The result is the story's frame list (Story::frameList): per frame the characters it holds and
// its composed lines. Nothing else in the host or the plug-in breaks lines.
#pragma once

class DataBase;
class FontCache;
class Story;

class TextComposer {
public:
    virtual ~TextComposer() = default;
    // Composes the story into its frames, from the first damaged frame of its frame list on (the
    // whole story when it was never composed or its text changed since).
    virtual void Compose(Story& story) = 0;
    // Composes every story of the document (one walk over its frames for all of them).
    virtual void ComposeAll(DataBase& db) = 0;
    // The fonts and shaped words it measures with.
    virtual FontCache& GetFontCache() = 0;

    // The session's composer, with the font cache that all documents share.
    static TextComposer& Get();
};
