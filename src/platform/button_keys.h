#pragma once

// Enter on a focused push or picture button presses that button, in every
// window of the program, as Space already does. Without this Qt hands Enter
// on a plain button to the dialog's default button, and picture buttons
// ignore it. Enter in an input box is left to the box and its dialog.
void installButtonKeys();
