// The fast lanes against the extended formulas on arbitrary bit patterns, on every vector set
// this machine offers: any difference in the bits (two NaNs are alike) is a fault.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/startup.h"
#include "compute/vector_isa.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "model/pair_batch.h"
#include "model/pair_contribution.h"
#include "runtime/control.h"
#include "support/projection_bits.h"
#include "support/vector_isas.h"
#include "view/projection_batch.h"

namespace {

// Reads floats from the input in order; past its end, 0.
class FloatReader {
 public:
  FloatReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  float next() {
    float value = 0;
    if (offset_ + sizeof value <= size_) std::memcpy(&value, data_ + offset_, sizeof value);
    offset_ += sizeof value;
    return value;
  }
  bool more() const { return offset_ < size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

bool same_bits(float a, float b) { return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0; }

// The input: the particle, the gain, the degree factor, the starting force, then partners.
void check_pair_contributions(const std::uint8_t* data, std::size_t size) {
  FloatReader input(data, size);
  const Vec3 p{input.next(), input.next(), input.next()};
  const float gain = input.next(), deg_to_rad = input.next();
  const Vec3 start{input.next(), input.next(), input.next()};
  std::vector<float> x, y, z;
  while (input.more() && x.size() < max_partners - partner_padding) {
    x.push_back(input.next());
    y.push_back(input.next());
    z.push_back(input.next());
  }
  const std::size_t count = x.size();
  Vec3 extended = start;
  for (std::size_t q = 0; q < count; ++q) add_pair(extended, p, Vec3{x[q], y[q], z[q]}, gain, deg_to_rad);
  for (std::vector<float>* axis : {&x, &y, &z}) axis->resize(padded_partners(count));

  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    choose_vector_isa(isa);
    Vec3 fast = start;
    add_partners_together(&fast, &p, 1, PartnerColumns{x.data(), y.data(), z.data(), count}, gain, deg_to_rad);
    if (!same_bits(fast.x, extended.x) || !same_bits(fast.y, extended.y) || !same_bits(fast.z, extended.z))
      __builtin_trap();
  }
}

// The projection reads the same input as the view angles, then up to a batch of points: each
// set's lanes against project_point, every value it leaves and the clip flag.
void check_projection(const std::uint8_t* data, std::size_t size) {
  static HeadlessHost host;
  static const bool started = (start_runtime(host), reset_program(), set_view_constants(), true);
  (void)started;
  FloatReader input(data, size);
  auto& g = program();
  g.rot_angle_c = input.next();
  g.rot_angle_a = input.next();
  PointBatch batch;
  for (; input.more() && batch.count < projection_batch_size; ++batch.count) {
    batch.x[batch.count] = input.next();
    batch.y[batch.count] = input.next();
    batch.z[batch.count] = input.next();
  }
  for (const VectorIsa isa : vector_isas_of_this_machine()) {
    choose_vector_isa(isa);
    Projection fast[projection_batch_size];
    project_batch(batch, fast);
    for (int i = 0; i < batch.count; ++i) {
      if (!matches_project_point(batch.x[i], batch.y[i], batch.z[i], fast[i]))
        __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  check_pair_contributions(data, size);
  check_projection(data, size);
  return 0;
}
