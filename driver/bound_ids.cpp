// ParameterMarkers and ForEachIdSlice: ids bound, never written into a statement as literals,
// so that the server compares them under its own rules and no character is lost to a code page.
#include "driver/bound_ids.h"

#include <algorithm>

namespace mv {

std::string ParameterMarkers(std::size_t count) {
  std::string markers;
  for (std::size_t i = 0; i < count; ++i) markers += i == 0 ? "?" : ", ?";
  return markers;
}

void ForEachIdSlice(const Connection& connection, const std::vector<std::string>& ids,
                    const odbc::ColumnInfo& column,
                    const std::function<void(const std::vector<QueryParameter>&)>& query,
                    std::size_t bindsPerId) {
  const std::size_t sliceSize = std::max<std::size_t>(
      1, connection.Capabilities().limits.parameters / std::max<std::size_t>(1, bindsPerId));
  std::vector<QueryParameter> slice;
  for (std::size_t start = 0; start < ids.size(); start += sliceSize) {
    slice.clear();
    const std::size_t end = std::min(ids.size(), start + sliceSize);
    for (std::size_t i = start; i < end; ++i) slice.push_back({Variant::String(ids[i]), column});
    query(slice);
  }
}

}  // namespace mv
