// Resource ids shared by the resource script and the code; plain #defines so windres reads them too.
#pragma once

// The first icon resource is the one Explorer and the screen-saver settings page show for the file.
#define KOVAREN_ICON_ID 1
