#include "testkit/ComDouble.h"

namespace testkit {

static std::atomic<int> g_liveDoubles{0};

int liveDoubles() { return g_liveDoubles; }

void detail::doubleCreated() { ++g_liveDoubles; }
void detail::doubleDestroyed() { --g_liveDoubles; }

}  // namespace testkit
