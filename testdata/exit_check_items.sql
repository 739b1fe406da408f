-- Items for the exit check's tests: one of each verdict. The tests exclude the
-- patron groups 1, 5 and 15.
INSERT INTO VERSIONS VALUES ('DATABASE', '2001.2.0');
INSERT INTO ITEM_TYPE VALUES (1, 'book');
INSERT INTO ITEM_STATUS_TYPE VALUES (1, 'Not Charged');
INSERT INTO ITEM_STATUS_TYPE VALUES (2, 'Charged');

INSERT INTO ITEM (ITEM_ID, PERM_LOCATION, TEMP_LOCATION, COPY_NUMBER, ITEM_TYPE_ID, PIECES, PRICE, CREATE_DATE)
VALUES (1, 1, 0, 1, 1, 1, 1250, '2020-01-02 10:00:00'),
       (2, 1, 0, 1, 1, 1, 990, '2020-01-02 10:00:00'),
       (3, 1, 0, 1, 1, 1, 2500, '2020-01-02 10:00:00'),
       (4, 1, 0, 1, 1, 1, 1800, '2020-01-02 10:00:00'),
       (5, 1, 0, 1, 1, 1, 700, '2020-01-02 10:00:00'),
       (6, 1, 0, 1, 1, 1, 700, '2020-01-02 10:00:00');

INSERT INTO ITEM_BARCODE (ITEM_ID, ITEM_BARCODE, BARCODE_STATUS) VALUES
    (1, '31234000000016', 1),   -- charged to group 3: may leave
    (1, '31234000000990', 2),   -- an earlier barcode of the same item
    (2, '31234000000024', 1),   -- charged to group 5, a carrel group
    (3, '31234000000032', 1),   -- not charged
    (4, '31234000000040', 1),   -- charged to group 11 while 1 is excluded: may leave
    (5, '31234000000057', 1),   -- a charge without a patron group
    (6, '31234000000065', 1);   -- charged to group 15, a carrel group

INSERT INTO ITEM_STATUS VALUES (1, 2), (2, 2), (3, 1), (4, 2), (5, 2), (6, 2);
INSERT INTO ITEM_NOTE VALUES (1, 'Beilage fehlt — Karte in Tasche');

INSERT INTO CIRC_TRANSACTIONS (ITEM_ID, PATRON_GROUP_ID) VALUES
    (1, 3), (2, 5), (4, 11), (5, NULL), (6, 15);
