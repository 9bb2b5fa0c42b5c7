// The library's buffer is process-wide: each test starts and ends without one.
#pragma once

#include "buffer/sample_buffer.h"
#include "exports/podcore.h"

#include <gtest/gtest.h>

class LibraryBufferFixture : public ::testing::Test {
protected:
    void SetUp() override { Release(); }
    void TearDown() override { Release(); }

    static void Release() {
        if (uint32_t* samples = podcore::buffer::Buffer().samples)
            DeleteBuffer(samples);
    }
};
