#pragma once
// "zodovaz-zkd plot": a picture of a whole session (or a part of it) as a PNG.
#include <QStringList>

#include <ostream>
#include <string>

namespace zk::zkd {

// Runs the command on the arguments after "plot". A QGuiApplication must exist. Exit code
// 0 on success, 1 when the recording does not load or the picture cannot be written (the
// same messages as "verify"), 2 for a bad command line or a range with nothing in it.
int Plot(const QStringList& args, std::ostream& out, std::ostream& err);

// The same from main() (argv[1] is "plot"), with the offscreen application object.
int PlotMain(int argc, char** argv);

}  // namespace zk::zkd
