// The host finds the resampler in the package by name.
#include "ResampleOracle.h"
#include "imaging/engResample.h"

#include <gtest/gtest.h>
#include <dlfcn.h>
#include <string>

namespace {

TEST(ResampleExports, PackageExportsEveryNameAndTheTableWorks)
{
    void *lib = dlopen(R9_PACKAGE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    for (const char *name : {"BoxFilter", "TriangleFilter", "HermiteFilter", "BellFilter", "SplineFilter",
                             "Lanczos3Filter", "MitchellFilter", "ResampleFilters", "Strecth"})
        EXPECT_NE(dlsym(lib, name), nullptr) << name;

    auto table = static_cast<const TResampleFilter *>(dlsym(lib, "ResampleFilters"));
    auto strecth = reinterpret_cast<void (*)(QImage *, QImage *, TFilterProc, float)>(dlsym(lib, "Strecth"));
    ASSERT_NE(table, nullptr);
    ASSERT_NE(strecth, nullptr);
    EXPECT_EQ(std::string(table[5].Name), "Lanczos3");
    EXPECT_EQ(table[5].Filter(0.0f), 1.0f);

    const QImage original = oracle::TestPicture(20, 15, 4);
    QImage src = original;
    QImage dst(33, 9, QImage::Format_RGB32);
    strecth(&src, &dst, table[5].Filter, table[5].Width);
    EXPECT_EQ(dst, oracle::Resize(original, 33, 9, Lanczos3Filter, 3.0f));
    dlclose(lib);
}

} // namespace
