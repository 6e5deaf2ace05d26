#pragma once
// Qt keys as the virtual-key codes the keyboard handler works with.
namespace zk {

// 0 for a key the handler has no code for. Letters map to their capital whatever the
// Shift state; "<" and ">" map to the comma and full-stop keys that carry them.
int VirtualKeyCode(int qtKey);

}  // namespace zk
