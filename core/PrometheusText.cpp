#include "PrometheusText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vardo {

std::string EscapeLabelValue(std::string_view value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (const char c : value) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '"':
                escaped += "\\\"";
                break;
            case '\n':
                escaped += "\\n";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string SampleValueText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : "NaN";
}

Histogram::Histogram(std::vector<double> upperBounds)
    : upperBounds_(std::move(upperBounds)), bucketCounts_(upperBounds_.size(), 0) {
    std::sort(upperBounds_.begin(), upperBounds_.end());
}

void Histogram::Observe(double value) {
    for (std::size_t i = 0; i < upperBounds_.size(); ++i) {
        if (value <= upperBounds_[i]) ++bucketCounts_[i];
    }
    ++count_;
    sum_ += value;
}

void ExpositionText::Family(std::string_view name, std::string_view type, std::string_view help) {
    text_.append("# HELP ").append(name).append(" ").append(help).append("\n");
    text_.append("# TYPE ").append(name).append(" ").append(type).append("\n");
}

void ExpositionText::Sample(std::string_view name, const Labels& labels, double value) {
    text_.append(name);
    if (!labels.empty()) {
        text_ += '{';
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (i > 0) text_ += ',';
            text_.append(labels[i].first)
                .append("=\"")
                .append(EscapeLabelValue(labels[i].second))
                .append("\"");
        }
        text_ += '}';
    }
    text_.append(" ").append(SampleValueText(value)).append("\n");
}

void ExpositionText::HistogramSamples(std::string_view name, const Histogram& histogram) {
    const std::string bucket = std::string(name) + "_bucket";
    for (std::size_t i = 0; i < histogram.UpperBounds().size(); ++i) {
        Sample(bucket, {{"le", SampleValueText(histogram.UpperBounds()[i])}},
               static_cast<double>(histogram.BucketCounts()[i]));
    }
    Sample(bucket, {{"le", "+Inf"}}, static_cast<double>(histogram.Count()));
    Sample(std::string(name) + "_sum", {}, histogram.Sum());
    Sample(std::string(name) + "_count", {}, static_cast<double>(histogram.Count()));
}

WriteResult ExpositionFile::Publish(const std::string& text) {
    if (hasWritten_ && text == written_) return {};
    WriteResult result = WriteFileAtomically(path_, text, Flush::No);
    if (result) {
        written_ = text;
        hasWritten_ = true;
    }
    return result;
}

}  // namespace vardo
