// The chat client's windows: its classes, the frame with its MDI client, and
// the documents and rooms in the child order the real client has them.
#pragma once

namespace fader::room {

bool RegisterClasses();

// Opens the frame and g_app's documents and rooms, room 1 active with the
// focus in its input box.
bool OpenWindows();

}  // namespace fader::room
