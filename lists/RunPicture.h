#pragma once

#include <QIcon>

class ProgramData;

// The Run and Stop pictures of the runner and auto collect buttons, from the program folder's
// Bmps whatever the case of their names; a missing or broken file gives the desktop's icon,
// so the button's action never depends on a picture.
namespace RunPicture {

QIcon check(const ProgramData &data);
QIcon stop(const ProgramData &data);

} // namespace RunPicture
