// Writes stored baskets into ORDERLIST through a client-side recordset.
#include "tools/sample_data/order_list_writer.h"

#include "platform/odbc/recordset.h"

namespace mv {

void AppendOrderListRows(Connection& source, const std::vector<OrderListRow>& rows) {
  Recordset orderList(source, "SELECT ORDER_ID, MARSHALLED_ORDER FROM ORDERLIST WHERE 1 = 0");
  for (const OrderListRow& row : rows) {
    orderList.AddNew();
    orderList.SetField("ORDER_ID", Variant::String(row.orderId));
    orderList.SetField("MARSHALLED_ORDER", Variant::Bytes(row.marshalledOrder));
  }
  orderList.UpdateBatch();
}

}  // namespace mv
