#pragma once
// The six print jobs (order and test receipt on each route) and the route rule. A job prints
// one copy and returns nothing; what the operator must know is shown in a message box.

#include <QString>

#include "api/define.h"

class PrinterPorts;

enum class PrintRoute { Serial, Parallel, Spooler };

// "COM..." serial, else "LPT..." parallel, else a spooler queue; exact case.
PrintRoute RouteOf(const QString& printerName);

// The serial jobs print on the printer port as configured, whatever the name says. A failed
// serial order asks whether to print again and starts over on OK.
void ComOrderPrint(PrinterPorts& ports, const TOrderInfo& order, const TShop& shop);
void LptOrderPrint(const TOrderInfo& order, const TShop& shop);
void RawOrderPrint(const TOrderInfo& order, const TShop& shop);
void ComTestPrint(PrinterPorts& ports, const QString& name, const TShop& shop);
void LptTestPrint(const QString& name, const TShop& shop);
void RawTestPrint(const QString& name, const TShop& shop);

// The route rule applied to shop.PrinterName (order) or name (test), then that route's job.
void OrderPrint(PrinterPorts& ports, const TOrderInfo& order, const TShop& shop);
void TestPrint(PrinterPorts& ports, const QString& name, const TShop& shop);
