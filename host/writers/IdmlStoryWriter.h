// IdmlStoryWriter: the text of the document: XML/Tags.xml, XML/BackingStory.xml and (with the
// story model) one Stories/Story_<Self>.xml per story.
//
// The backing story holds the root of the document's XML structure, tagged "Root", and the
// text that belongs to no frame; with no structure in the model it is one empty paragraph in
// "[Basic Paragraph]". Each story written is recorded in the context for designmap's StoryList.
#pragma once

class IdmlContext;

class IdmlStoryWriter {
public:
    static void Write(IdmlContext& context);
};
