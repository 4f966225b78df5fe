<?xml version="1.0" encoding="UTF-8"?>
<!-- Documents du dossier data de TilvarBD : toutes les ventes, ventes par période,
     abrégé des ventes et liste des artisans. Le programme n'écrase jamais ce fichier. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes"
              doctype-system="about:legacy-compat"/>

  <xsl:template match="/*">
    <xsl:variable name="title">
      <xsl:choose>
        <xsl:when test="cTitle"><xsl:value-of select="cTitle"/></xsl:when>
        <xsl:otherwise>Liste des artisans</xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <html lang="fr">
      <head>
        <meta name="viewport" content="width=device-width, initial-scale=1"/>
        <title><xsl:value-of select="$title"/></title>
        <style>
          body { font-family: "DejaVu Sans", Arial, sans-serif; margin: 2em; color: #000; background: #fff; }
          h1 { font-size: 1.4em; }
          h2 { font-size: 1.1em; margin-top: 1.5em; }
          table { border-collapse: collapse; width: 100%; }
          th, td { border-bottom: 1px solid #999; padding: 0.25em 0.5em; text-align: left; vertical-align: top; }
          th { border-bottom: 2px solid #000; }
          td.num, th.num { text-align: right; }
          pre { font-family: inherit; margin: 0; }
          @media print { body { margin: 0; } h2 { page-break-after: avoid; } }
        </style>
      </head>
      <body>
        <h1><xsl:value-of select="$title"/></h1>
        <xsl:apply-templates select="." mode="body"/>
      </body>
    </html>
  </xsl:template>

  <!-- Toutes les ventes : une feuille par date. -->
  <xsl:template match="allSales" mode="body">
    <xsl:if test="not(saleItem)"><p>Aucune vente.</p></xsl:if>
    <xsl:for-each select="saleItem">
      <h2>Feuille du <xsl:value-of select="@date"/></h2>
      <table>
        <tr><th>Produit</th><th class="num">Qté</th></tr>
        <xsl:for-each select="prod">
          <tr><td><xsl:value-of select="aNo"/></td><td class="num"><xsl:value-of select="xStr"/></td></tr>
        </xsl:for-each>
      </table>
    </xsl:for-each>
  </xsl:template>

  <!-- Ventes par période : les cumuls de chaque produit. -->
  <xsl:template match="periodSales" mode="body">
    <xsl:if test="not(period)"><p>Aucune période.</p></xsl:if>
    <xsl:for-each select="period">
      <h2>Période <xsl:value-of select="@title"/> (fin : <xsl:value-of select="@id"/>)</h2>
      <pre><xsl:value-of select="prod"/></pre>
    </xsl:for-each>
  </xsl:template>

  <!-- Abrégé : quantités par période et total, par produit. -->
  <xsl:template match="shortSalesRep" mode="body">
    <xsl:if test="not(pNo)"><p>Aucune vente.</p></xsl:if>
    <xsl:if test="pNo">
      <table>
        <tr><th>Produit</th><th>Quantités par période, puis total</th></tr>
        <xsl:for-each select="pNo">
          <tr><td><xsl:value-of select="."/></td>
              <td><xsl:value-of select="following-sibling::qStr[1]"/></td></tr>
        </xsl:for-each>
      </table>
    </xsl:if>
  </xsl:template>

  <!-- Liste des artisans (artList.xml et les exportations de la base). -->
  <xsl:template match="artList" mode="body">
    <table>
      <tr><th>No</th><th>Nom</th><th>Adresse</th><th>Courriel</th><th class="num">Produits</th></tr>
      <xsl:for-each select="artItem">
        <tr>
          <td><xsl:value-of select="@artNo"/></td>
          <td><xsl:value-of select="artID/nom"/>, <xsl:value-of select="artID/prenom"/></td>
          <td><xsl:value-of select="translate(artID/adresse, '&quot;;', '  ')"/></td>
          <td><xsl:value-of select="artID/eMail"/></td>
          <td class="num"><xsl:value-of select="count(product/item)"/></td>
        </tr>
      </xsl:for-each>
    </table>
  </xsl:template>

  <xsl:template match="*" mode="body">
    <p>Document sans présentation prévue.</p>
  </xsl:template>
</xsl:stylesheet>
