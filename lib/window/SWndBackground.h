#pragma once

class SImage;

// What a window paints behind its content: the background image and the four
// state images (hover, pressed, checked, disabled). Owns all of them.
class SWndBackground
{
public:
    SWndBackground() : image(nullptr), states(nullptr) {}
    // Frees the background and the state images.
    ~SWndBackground();
    SWndBackground(const SWndBackground&) = delete;
    SWndBackground& operator=(const SWndBackground&) = delete;

    // Frees the state images.
    void FreeStates();

    // The background image; null until one is set.
    SImage* image;
    // Array of four state images, or null.
    SImage* states;
};
