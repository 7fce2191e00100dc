#include "shell/worker_pools.h"

#include "shell/thread_pool.h"

TWorkerThreadPool* ShellWorkerPool = nullptr;
TWorkerThreadPool* ShellHelperWorkerPool = nullptr;

namespace {

int shellPoolStarts = 0;
int helperPoolStarts = 0;

void StartPool(int& starts, TWorkerThreadPool*& pool) {
    if (starts++ == 0) pool = New<TWorkerThreadPool>(true);
}

void StopPool(int& starts, TWorkerThreadPool*& pool) {
    if (starts == 0 || --starts != 0) return;
    FreeAndNil(pool);
}

}  // namespace

void StartWorkerPools() {
    StartPool(shellPoolStarts, ShellWorkerPool);
    StartPool(helperPoolStarts, ShellHelperWorkerPool);
}

void StopWorkerPools() {
    StopPool(helperPoolStarts, ShellHelperWorkerPool);
    StopPool(shellPoolStarts, ShellWorkerPool);
}
