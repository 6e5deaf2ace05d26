#pragma once
// The folder new recordings are saved in, as the user meets it: an empty SavePath takes
// the desktop's documents folder (created when missing), and Recording > Open Save Folder
// shows the folder in the file manager.
#include "core/CommandTable.h"
#include "core/Context.h"

namespace zk {

// An empty SavePath becomes the documents folder named by the desktop's user-dirs
// settings, made when missing; it stays empty only when no such folder can be had.
void Fill_Save_Folder(Context& ctx);

// Recording > Open Save Folder: the folder (filled first when empty) in the file manager;
// a message says so when there is none or it cannot be shown.
void mnuRecOpenFolder_Click(Context& ctx);

void Register_Save_Folder_Commands(CommandTable& commands, Context& ctx);

}  // namespace zk
