// How much slower than a plain build this one runs: a build with the
// sanitizers runs everything several times slower, and budgets and time
// limits allow for that.
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VALIDATE_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VALIDATE_SANITIZED 1
#endif

namespace validate {
#if defined(VALIDATE_SANITIZED)
constexpr double slowdown = 10;
#else
constexpr double slowdown = 1;
#endif
}  // namespace validate
