#pragma once
// The control factory's creators of the audio controls ("LEVEL", "WAVEEDITOR")
// and the builder's link from a wave editor to its level meter.
#include "SDialogEditor.h"

// Creates a level meter from a LEVEL record and applies its keys.
SWnd* CreateLevelControl(SWndDialog* dialog, HWND parent, SDialogEditor::_SCtrl* record, SResource* resources,
                         bool visible, SWnd* custom);
// Creates a wave editor from a WAVEEDITOR record and applies its keys.
SWnd* CreateWaveEditorControl(SWndDialog* dialog, HWND parent, SDialogEditor::_SCtrl* record,
                              SResource* resources, bool visible, SWnd* custom);
// Attaches the meter to the editor's wave; false unless both are of their classes.
bool LinkWaveEditorToLevel(SWnd* waveEditor, SWnd* levelMeter);
