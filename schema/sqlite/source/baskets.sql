-- Stored baskets of the 2.2 shop: one marshalled order form per basket.
CREATE TABLE ORDERLIST (
  ORDER_ID VARCHAR(50) NOT NULL PRIMARY KEY,
  MARSHALLED_ORDER BLOB
);
