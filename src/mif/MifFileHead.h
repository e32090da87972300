// MifFileHead: the start of a file as recognition looks at it, and whether it starts a MIF file.
// The import's recognition and the font-hint scan both use it, so that they agree on what a MIF
// file is.
#pragma once

#include <string>
#include <string_view>

class IPMStream;

class MifFileHead {
public:
    // The first 20 bytes of `stream`, up to the first NUL byte. False when the stream holds fewer
    // than 20 bytes. Reads from the stream's start.
    static bool Read(IPMStream& stream, std::string& head);
    // Whether a head read by Read starts a MIF file: it holds "<MIFFile".
    static bool IsMif(std::string_view head) { return head.find("<MIFFile") != std::string_view::npos; }
};
