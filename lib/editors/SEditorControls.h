#pragma once
// The editor controls join the dialog descriptions' control factory here:
// programs and the designer call RegisterEditorControls once at start.

// Registers the creators of the editor control types with the control factory.
void RegisterEditorControls();
