#pragma once
// Whether a file may be written as the output made from other files: never over one of
// the files it is made from (under whatever name or link), and never over something that
// is no regular file — a FIFO would be replaced by a plain file, a device node with it.
#include <string>
#include <vector>

namespace zk {

// Why `output` must not be written from `inputs` ("is the same file as in.zkd", "is not a
// regular file"); empty when it may. Inputs that do not exist are passed over.
std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace zk
