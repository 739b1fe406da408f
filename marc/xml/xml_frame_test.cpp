// The frame of XMLRecordOut and its helpers AddQuotes, XmlTags and XmlConditionText.
#include <gtest/gtest.h>

#include "marc/xml/xml_test_support.h"
