// The shell family's two global worker pools: created at the program's
// start, freed at its end. Each start-up and shut-down acts once per
// process, however often it is called.
#pragma once

class TWorkerThreadPool;

extern TWorkerThreadPool* ShellWorkerPool;
extern TWorkerThreadPool* ShellHelperWorkerPool;

void StartWorkerPools();
void StopWorkerPools();
