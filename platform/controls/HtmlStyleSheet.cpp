#include "platform/controls/HtmlContainer.h"

// How each element looks before the page's own styles: the common defaults
// of a web page, for the elements our pages use and their close relatives.
// Scripts and style blocks show nothing.
const char* HtmlMasterStyleSheet()
{
    return R"css(
html { display: block; height: 100%; }
head, title, meta, link, style, script, base { display: none; }
body { display: block; margin: 8px; height: 100%; }
div, center, form, blockquote, address { display: block; }
center { text-align: center; }
p { display: block; margin-top: 1em; margin-bottom: 1em; }
h1, h2, h3, h4, h5, h6 { display: block; font-weight: bold; margin-top: 0.67em; margin-bottom: 0.67em; }
h1 { font-size: 2em; }
h2 { font-size: 1.5em; }
h3 { font-size: 1.17em; }
ul, ol { display: block; margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
li { display: list-item; }
hr { display: block; border-top: 1px solid gray; margin: 0.5em 0; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }
caption { display: table-caption; text-align: center; }
a, span, font, b, strong, i, em, u, small, big, code, tt, sub, sup, label { display: inline; }
a:link { color: #0000ee; text-decoration: underline; cursor: pointer; }
b, strong, th { font-weight: bold; }
i, em { font-style: italic; }
u { text-decoration: underline; }
small { font-size: smaller; }
big { font-size: larger; }
code, tt, pre { font-family: monospace; }
pre { display: block; white-space: pre; margin-top: 1em; margin-bottom: 1em; }
img { display: inline-block; }
br { display: block; }
)css";
}
