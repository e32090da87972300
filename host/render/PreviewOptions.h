// PreviewOptions: how the preview draws the pages.
#pragma once

struct PreviewOptions {
    // Pixels per inch of PNG images (PDF pages are in points, whatever it says).
    double dpi = 96;
    // Outlines the text frames and marks the last frame of a story whose text does not fit with
    // a red plus, as a layout program shows them.
    bool showFrames = false;
};
