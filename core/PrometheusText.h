#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "AtomicFile.h"

namespace vardo {

// Writers for the Prometheus text exposition format (version 0.0.4), as node exporter's textfile
// collector reads it: one HELP and one TYPE line per metric family, then its samples.

// A label value as the format quotes it: backslash, double quote and line feed escaped.
std::string EscapeLabelValue(std::string_view value);

using Labels = std::vector<std::pair<std::string, std::string>>;

// Cumulative counts of observations (seconds) over fixed upper bounds.
class Histogram {
  public:
    explicit Histogram(std::vector<double> upperBounds);

    void Observe(double value);

    const std::vector<double>& UpperBounds() const { return upperBounds_; }
    // Observations at or below each bound, in the bounds' order.
    const std::vector<std::uint64_t>& BucketCounts() const { return bucketCounts_; }
    std::uint64_t Count() const { return count_; }
    double Sum() const { return sum_; }

  private:
    std::vector<double> upperBounds_;
    std::vector<std::uint64_t> bucketCounts_;
    std::uint64_t count_ = 0;
    double sum_ = 0;
};

// Builds one exposition text, family by family.
class ExpositionText {
  public:
    // Starts a family: "# HELP name help" and "# TYPE name type".
    void Family(std::string_view name, std::string_view type, std::string_view help);
    // One sample line of the current family.
    void Sample(std::string_view name, const Labels& labels, double value);
    // The _bucket (with le, +Inf last), _sum and _count samples of a histogram.
    void HistogramSamples(std::string_view name, const Histogram& histogram);

    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

// Keeps one file of a textfile collector's folder up to date: the text is written, atomically (a
// temporary file in the same folder renamed over it), only when it differs from what was
// written last, so a scraper never reads half a file and an idle station writes nothing.
class ExpositionFile {
  public:
    explicit ExpositionFile(std::string path) : path_(std::move(path)) {}

    // Writes text unless the file already holds it; a failed write is tried again next time.
    WriteResult Publish(const std::string& text);
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string written_;
    bool hasWritten_ = false;
};

// A sample value as the format writes it: integers without a fraction, others with enough
// digits to read back the same double.
std::string SampleValueText(double value);

}  // namespace vardo
