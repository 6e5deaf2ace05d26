#pragma once
// "zodovaz-zkd plot": a picture of a whole session (or a part of it) as a PNG.
#include <QStringList>

#include <ostream>
#include <string>

#include "PlotSeries.h"
#include "zkd/RecordFile.h"

namespace zk::zkd {

// The title line: file name, start date and time when recorded, duration, records, tags
// and the final blow-down value; the part shown when it is not the whole recording.
std::string PlotTitle(const std::string& fileName, const RecordFileData& data, const TimeRange& range);

// Runs the command on the arguments after "plot". A QGuiApplication must exist. Exit code
// 0 on success, 1 when the recording does not load or the picture cannot be written (the
// same messages as "verify"), 2 for a bad command line or a range with nothing in it.
int Plot(const QStringList& args, std::ostream& out, std::ostream& err);

// The same from main() (argv[1] is "plot"), with the offscreen application object.
int PlotMain(int argc, char** argv);

}  // namespace zk::zkd
