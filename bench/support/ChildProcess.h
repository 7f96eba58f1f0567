#pragma once

class QProcess;

// Has a child the process starts end when this process ends, however it
// ends: a benchmark stopped part-way leaves no simulator sending readings
// and no floor window running, to load the runs after it.
void EndWithThisProcess(QProcess& process);
