#include "SWndBackground.h"

#include "SImage.h"

SWndBackground::~SWndBackground()
{
    FreeStates();
    delete image;
}

void SWndBackground::FreeStates()
{
    delete[] states;
    states = nullptr;
}
