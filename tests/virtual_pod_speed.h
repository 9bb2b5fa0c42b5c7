// How fast virtual pods sample in this build's tests. Sanitizers run the library's threads
// several times slower, so sanitized builds slow their pods in proportion, and under
// ThreadSanitizer no capture carries more than 2 M samples a second, whatever its rate.
#pragma once

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr double kPodTimeScale = 0.25;
#else
constexpr double kPodTimeScale = 1.0;
#endif

#if defined(__SANITIZE_THREAD__)
constexpr double kFastestPodSamples = 2e6;
#else
constexpr double kFastestPodSamples = 0; // no limit
#endif
