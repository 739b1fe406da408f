-- A few rows of the library system for the database reader's tests: two
-- items with barcodes, holdings, statuses, notes and locations; the base
-- currency; the versions; one holdings record for the character-set probe.

INSERT INTO VERSIONS VALUES ('DATABASE', ' 2001.1.3 ');
INSERT INTO VERSIONS VALUES ('CAT', '98.2');

INSERT INTO BASE_CURRENCY VALUES ('United States', 'USD', 'US Dollar', 2, '.');

INSERT INTO LOCATION VALUES (1, 'MAIN', 'Main Library', 'Main', 'MAIN', 'N');
INSERT INTO LOCATION VALUES (2, 'RES', 'Reserve Desk', 'Reserve', 'RESV', 'y');
INSERT INTO LOCATION VALUES (3, 'ARCH', 'Archives', 'Archives', 'ARCH', 'Y');

INSERT INTO ITEM_TYPE VALUES (3, 'book');

INSERT INTO ITEM_STATUS_TYPE VALUES (1, 'Not Charged');
INSERT INTO ITEM_STATUS_TYPE VALUES (2, 'Charged');
INSERT INTO ITEM_STATUS_TYPE VALUES (3, 'Renewed');

-- Item 100: an active barcode, every detail filled.
INSERT INTO ITEM_BARCODE VALUES (100, '39001', 1, '2003-05-01 10:11:12');
INSERT INTO ITEM VALUES (100, 1, 2, 1, 'SPINE', 3, 4, 2, 1250, 5, 'Y', 'N',
                         '2003-05-01 10:11:12', '2004-06-02 13:14:15', 'CREATOR', 'EDITOR');
INSERT INTO MFHD_ITEM VALUES (700, 100, 'v.1', '1999', '1999', 'cap', 'free');
INSERT INTO ITEM_STATUS VALUES (100, 1);
INSERT INTO ITEM_STATUS VALUES (100, 2);
INSERT INTO BIB_ITEM VALUES (501, 100);
INSERT INTO BIB_ITEM VALUES (500, 100);
INSERT INTO ITEM_NOTE VALUES (100, 'a note');
INSERT INTO CIRC_TRANSACTIONS VALUES (100, 7);

-- Item 200: an inactive barcode, a short price, an unknown item type, no
-- holdings, statuses, bibliographic link or note.
INSERT INTO ITEM_BARCODE VALUES (200, '39002', 2, NULL);
INSERT INTO ITEM VALUES (200, 3, NULL, 2, NULL, 99, NULL, 1, 5, NULL, NULL, NULL,
                         '2005-01-01 00:00:00', NULL, 'CREATOR', NULL);

-- A holdings record whose first segment the probe reads.
INSERT INTO MFHD_MASTER VALUES (700, 1, 'N', '0', 'QA76 .A1', 'QA 76 A1');
INSERT INTO MFHD_DATA VALUES (700, 1, '00140nx  a22000731  4500');
