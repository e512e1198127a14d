// Check boxes and radio buttons as assistive technology (a screen reader, an
// accessibility test) sees them.
#pragma once

// Makes "toggle" and "press" from assistive technology a click, exactly like
// the mouse or the space bar. Qt's own interface only flips the button, so a
// dialog's click rules never ran and OK stored what the button no longer
// showed. Safe to call more than once.
void InstallClickingButtons();
